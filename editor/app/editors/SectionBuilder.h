#pragma once

class QWidget;
class HandlerList;
class CZelPushButton;

namespace Brisel {
class RemoteControlManager;
}

// Places one group of widgets on an editor view; short-lived, the widgets and
// handlers it makes outlive it.
class SectionBuilder
{
public:
    SectionBuilder(QWidget *view, HandlerList &handlers, Brisel::RemoteControlManager &manager)
        : m_view(view), m_handlers(handlers), m_manager(manager)
    {
    }
    virtual ~SectionBuilder() = default;
    virtual void build() = 0;

protected:
    QWidget *m_view;
    HandlerList &m_handlers;
    Brisel::RemoteControlManager &m_manager;
};

// Number, modified lamp, store button and name of the active patch; on both tabs.
class TopSectionBuilder : public SectionBuilder
{
public:
    using SectionBuilder::SectionBuilder;
    void build() override;
};

class ControlsSectionBuilder : public SectionBuilder
{
public:
    using SectionBuilder::SectionBuilder;
    void build() override;

private:
    void buildKnobGroup(const char *section, int control, bool withMode);
    void buildPitchWheel();
    void buildModWheel();
};

class SettingsSectionBuilder : public SectionBuilder
{
public:
    using SectionBuilder::SectionBuilder;
    void build() override;

private:
    void buildSpinControl(const char *key, int id, int offset);
};

class VelocityCurvesSectionBuilder : public SectionBuilder
{
public:
    using SectionBuilder::SectionBuilder;
    void build() override;
};

class ProgramsSectionBuilder : public SectionBuilder
{
public:
    using SectionBuilder::SectionBuilder;
    void build() override;
};

// The zones graphic.
class ZonesDisplaySectionBuilder : public SectionBuilder
{
public:
    using SectionBuilder::SectionBuilder;
    void build() override;
};

// Master switch, octave position and the four zone columns.
class ZonesSettingsSectionBuilder : public SectionBuilder
{
public:
    using SectionBuilder::SectionBuilder;
    void build() override;

private:
    void buildZone(int index, CZelPushButton *postZone);
};
