// The parallel load and save against plain sequential versions written here,
// on a generated project of many languages, files and keys.
#include "model/projectmodel.h"
#include "model/stringsreader.h"
#include "model/stringswriter.h"
#include "model/textfile.h"
#include "testsupport.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString corpusScript()
{
    return QDir(QStringLiteral(VERBALO_SOURCE_DIR)).absoluteFilePath(QStringLiteral("../shared/bench/make_corpus.py"));
}

QString folderOf(const QString &root, const QString &language)
{
    const QString lproj = root + QLatin1Char('/') + language + QStringLiteral(".lproj");
    return QFileInfo::exists(lproj) ? lproj : root + QLatin1Char('/') + language;
}

// Loads the given languages one file at a time, in listing order.
void sequentialLoad(const QString &root, const QStringList &languages, QHash<QString, Row> &data,
                    QHash<QString, QString> &files)
{
    for (const QString &language : languages) {
        const QString folder = folderOf(root, language);
        const QStringList names = QDir(folder).entryList(QDir::Files, QDir::Name);
        for (const QString &name : names) {
            if (!name.endsWith(QLatin1String(".txt")))
                continue;
            const auto text = TextFile::read(folder + QLatin1Char('/') + name);
            data[name + QLatin1Char('-') + name][language] = Entry{name, *text, QString(QLatin1String(""))};
            files[name + QLatin1Char('-') + name] = name;
        }
        for (const QString &name : names) {
            if (!name.endsWith(QLatin1String(".strings")))
                continue;
            const auto text = TextFile::read(folder + QLatin1Char('/') + name);
            for (const Entry &e : StringsReader::parse(*text)) {
                data[e.key + QLatin1Char('-') + name][language] = e;
                files[e.key + QLatin1Char('-') + name] = name;
            }
        }
    }
}

} // namespace

TEST(ProjectCorpus, ParallelLoadAndSaveMatchSequentialOnes)
{
    if (!QFileInfo::exists(corpusScript()))
        GTEST_SKIP() << "corpus generator not found";
    QTemporaryDir dir;
    ASSERT_EQ(QProcess::execute(QStringLiteral("python3"),
                                {corpusScript(), dir.path(), QStringLiteral("--languages"), QStringLiteral("12"),
                                 QStringLiteral("--files"), QStringLiteral("4"), QStringLiteral("--keys"),
                                 QStringLiteral("300"), QStringLiteral("--missing"), QStringLiteral("0.2")}),
              0);
    const QString root = dir.path() + QStringLiteral("/App0");
    ProjectModel m;
    m.projectURL = root;
    m.load();
    ASSERT_EQ(m.languages.size(), 12);

    QHash<QString, Row> data;
    QHash<QString, QString> files;
    sequentialLoad(root, m.languages, data, files);
    EXPECT_EQ(m.data.size(), data.size());
    EXPECT_TRUE(m.data == data);
    EXPECT_TRUE(m.mapKeyToFile == files);

    // Save writes, per language and file, the base key and comment with the
    // language's value, keys in order (plain ASCII keys: code-unit order).
    m.save();
    const QStringList candidates{QStringLiteral("Base"), QStringLiteral("en"), QStringLiteral("en-US")};
    for (const QString &language : std::as_const(m.languages)) {
        for (const QString &file : {QStringLiteral("Localizable.strings"), QStringLiteral("Screen1.strings")}) {
            QStringList rowKeys;
            for (auto it = files.cbegin(); it != files.cend(); ++it)
                if (it.value() == file)
                    rowKeys << it.key();
            std::sort(rowKeys.begin(), rowKeys.end());
            QList<Entry> expected;
            for (const QString &rowKey : std::as_const(rowKeys)) {
                const Row &row = data[rowKey];
                const auto base = ProjectModel::baseEntryOf(row, candidates);
                if (base && row.contains(language))
                    expected.append(Entry{base->key, row.value(language).value, base->comment});
            }
            const QString written = QString::fromUtf8(readFile(folderOf(root, language) + QLatin1Char('/') + file));
            EXPECT_TRUE(written == StringsWriter::write(expected)) << language.toStdString() << " " << file.toStdString();
        }
    }
}
