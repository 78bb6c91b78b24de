#pragma once

#include "editor/core/Observer.h"
#include "editor/core/model/PatchTypes.h"

#include <string>

namespace Brisel {

// A value that widgets bind to. Its subject is notified after every attempt
// to change it, accepted or not, so bound views re-read the value.
class Param
{
public:
    Param() = default;
    virtual ~Param();

    Utils::Subject &subject() const { return m_subject; }

    Param(const Param &) = delete;
    Param &operator=(const Param &) = delete;

protected:
    void notify() const { m_subject.notify(); }

private:
    mutable Utils::Subject m_subject;
};

class ScalarParam : public Param
{
public:
    virtual int minimum() const = 0;
    virtual int maximum() const = 0;
    virtual int value() const = 0;
    virtual void setValue(int value) = 0;
};

class StringParam : public Param
{
public:
    virtual std::string value() const = 0;
    virtual void setValue(const std::string &value) = 0;
};

// Where a parameter lives: its parameter id and the image it addresses
// (null: the own image of CBPatch).
class PatchParam
{
public:
    PatchParam(int id, Byte *image);
    virtual ~PatchParam();

    int id() const { return m_id; }
    Byte *image() const { return m_image; }
    void setImage(Byte *image) { m_image = image; }

private:
    int m_id;
    Byte *m_image;
};

} // namespace Brisel
