#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

// The single-instance channel's folder under a temporary folder of the test's
// own: no runtime directory, TMPDIR pointing there. `folder` is where the
// channel's folder belongs; the environment comes back after the test.
class ChannelFolderRules : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_runtime = qgetenv("XDG_RUNTIME_DIR");
        m_tmp = qgetenv("TMPDIR");
        qunsetenv("XDG_RUNTIME_DIR");
        qputenv("TMPDIR", m_temp.path().toLocal8Bit());
        folder = m_temp.path() + QStringLiteral("/vorpad-%1").arg(::getuid());
    }
    void TearDown() override
    {
        qputenv("XDG_RUNTIME_DIR", m_runtime);
        qputenv("TMPDIR", m_tmp);
    }

    QString folder;

private:
    QTemporaryDir m_temp;
    QByteArray m_runtime, m_tmp;
};
