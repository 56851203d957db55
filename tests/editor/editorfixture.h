// A project on disk for the editing tests: written with writeFile, loaded into
// a ProjectModel, and read back after the commands saved it.
#pragma once

#include "common/settings.h"
#include "model/projectmodel.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

inline const QString kLocalizable = QStringLiteral("Localizable.strings");

class EditorFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Settings().remove(Settings::BaseLanguage);
        root = m_dir.path();
    }

    void write(const QString &language, const QByteArray &text, const QString &file = kLocalizable)
    {
        writeFile(root, language + QStringLiteral(".lproj/") + file, text);
    }

    ProjectModel load() { return loadProject(root); }

    QString path(const QString &language, const QString &file = kLocalizable) const
    {
        return QDir(root).filePath(language + QStringLiteral(".lproj/") + file);
    }

    QString read(const QString &language, const QString &file = kLocalizable) const
    {
        return QString::fromUtf8(readFile(path(language, file)));
    }

    // Removes a file the next save would write again, so a test can tell
    // whether a command saved.
    void removeProbe(const QString &language) { ASSERT_TRUE(QFile::remove(path(language))); }
    bool saved(const QString &language) const { return QFile::exists(path(language)); }

    static int indexOf(const ProjectModel &model, const QString &rowKey)
    {
        return int(model.keys.indexOf(rowKey));
    }

    QString root;

private:
    QTemporaryDir m_dir;
};
