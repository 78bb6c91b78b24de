#pragma once

#include "editor/skin/CZelDatabase.h"

#include <QDomElement>
#include <QPalette>
#include <QRect>
#include <QString>

#include <memory>

class QIODevice;

// The five skin databases. Each reads its XML format; a failed read leaves the
// database untouched, because entries are inserted only after the whole
// document has parsed and its root tag has been accepted.

class CZelImageDatabasePrivate;
class CZelImageDatabase : public CZelDatabase<QString, QString>
{
public:
    CZelImageDatabase();
    ~CZelImageDatabase() override;
    CZelImageDatabase(const CZelImageDatabase &) = delete;
    CZelImageDatabase &operator=(const CZelImageDatabase &) = delete;

    bool readXml(QIODevice *device, const QString &group);

private:
    std::unique_ptr<CZelImageDatabasePrivate> d;
};

class CZelStringDatabasePrivate;
class CZelStringDatabase : public CZelDatabase<QString, QString>
{
public:
    CZelStringDatabase();
    ~CZelStringDatabase() override;
    CZelStringDatabase(const CZelStringDatabase &) = delete;
    CZelStringDatabase &operator=(const CZelStringDatabase &) = delete;

    bool readXml(QIODevice *device, const QString &group);

private:
    std::unique_ptr<CZelStringDatabasePrivate> d;
};

class CZelLayoutDatabasePrivate;
class CZelLayoutDatabase : public CZelDatabase<QString, QRect>
{
public:
    CZelLayoutDatabase();
    ~CZelLayoutDatabase() override;
    CZelLayoutDatabase(const CZelLayoutDatabase &) = delete;
    CZelLayoutDatabase &operator=(const CZelLayoutDatabase &) = delete;

    bool readXml(QIODevice *device, const QString &group);

private:
    std::unique_ptr<CZelLayoutDatabasePrivate> d;
};

class CZelNodeDatabasePrivate;
class CZelNodeDatabase : public CZelDatabase<QString, QDomElement>
{
public:
    CZelNodeDatabase();
    ~CZelNodeDatabase() override;
    CZelNodeDatabase(const CZelNodeDatabase &) = delete;
    CZelNodeDatabase &operator=(const CZelNodeDatabase &) = delete;

    bool readXml(QIODevice *device);

private:
    std::unique_ptr<CZelNodeDatabasePrivate> d;
};

class CZelPaletteDatabasePrivate;
class CZelPaletteDatabase : public CZelDatabase<QString, QPalette>
{
public:
    CZelPaletteDatabase();
    ~CZelPaletteDatabase() override;
    CZelPaletteDatabase(const CZelPaletteDatabase &) = delete;
    CZelPaletteDatabase &operator=(const CZelPaletteDatabase &) = delete;

    bool readXml(QIODevice *device);

private:
    std::unique_ptr<CZelPaletteDatabasePrivate> d;
};
