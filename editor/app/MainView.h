#pragma once

#include <QWidget>

class EditHistory;
class QHBoxLayout;
class QTabWidget;

// The main window's content: the device view on the left and, while the
// editor is shown, the tabs of the patch and zones editors beside it.
class MainView : public QWidget
{
    Q_OBJECT

public:
    enum Tab { PatchTab = 0, ZonesTab = 1 };
    Q_ENUM(Tab)

    explicit MainView(QWidget *parent = nullptr);

    // Adds the tabs to the layout after the device view, or takes them out;
    // the editors keep their state either way.
    void showEditor(bool shown);
    bool isEditorShown() const { return m_editorShown; }

    QWidget *deviceView() const { return m_deviceView; }
    QWidget *patchEditorView() const { return m_patchEditorView; }
    QWidget *zonesEditorView() const { return m_zonesEditorView; }
    QTabWidget *tabWidget() const { return m_tabWidget; }
    // Undo and redo over the edits made in the two editor tabs.
    EditHistory *editHistory() const { return m_editHistory; }

signals:
    void viewChanged(MainView::Tab tab);

public slots:
    void tabChanged(int index);

private:
    // Where the three views are made.
    QWidget *createDeviceView();
    static QWidget *createPatchEditorView();
    static QWidget *createZonesEditorView();

    QWidget *m_deviceView;
    QWidget *m_patchEditorView;
    QWidget *m_zonesEditorView;
    QTabWidget *m_tabWidget;
    QHBoxLayout *m_layout;
    EditHistory *m_editHistory;
    bool m_editorShown = false;
};
