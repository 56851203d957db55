// The translation memory: one SQLite table of texts per localization key and
// language code, filled by folder scans and looked up by base-language text.
#pragma once

#include "memory/databasequeue.h"
#include "model/filefinder.h"

#include <QFuture>
#include <QMap>
#include <QObject>
#include <QString>
#include <QThreadPool>
#include <memory>
#include <optional>

// Localization key to (language code to text): what one group of a scan stores.
using Harvest = QMap<QString, QMap<QString, QString>>;

struct ScanResult
{
    int groups = 0;     // groups of sibling language folders found
    int keysStored = 0; // records written
    // Why the scan stopped before its end (a closed memory, a group's texts
    // that could not be committed); empty when it ran through.
    QString failure;
    // Folders find could not enter and names it could not hand over: not scanned.
    QList<SkippedPath> skipped;
};

class DatabaseManagerV2 : public QObject
{
    Q_OBJECT

public:
    static inline const QString TableName = QStringLiteral("tbl_strings");
    static inline const QString KeyColumn = QStringLiteral("search_by");

    // The process-wide manager, opened at defaultPath() on first use.
    static DatabaseManagerV2 &shared();
    // Replaces the default path; only effective before the first shared().
    static void setDefaultPath(const QString &path);
    // $XDG_DATA_HOME/com.brenquil.verbalo/i18n-v2.sqlite unless replaced.
    static QString defaultPath();

    // Opens (creating folder and file as needed) the database at the path and
    // makes sure the table exists. When the file cannot be used (not a
    // database, damaged pages, read-only, a table of that name lacking
    // Verbalo's columns) the manager stays closed, says why in one log line,
    // and every operation does nothing.
    explicit DatabaseManagerV2(const QString &path, QObject *parent = nullptr);
    ~DatabaseManagerV2() override;

    QString databasePath() const;
    bool isOpen() const;
    // Why the file cannot be used, in a few words; empty when open.
    QString closedReason() const;
    // The database queue; null when the manager is closed.
    DatabaseQueue *db() const;

    // Encoding E: percent-encoding outside the URL query set, then "%5Cn" as "%0A".
    static QString encodeStored(const QString &text);
    // Encoding Q: as E, then "%5C%22" as "%22" and "%5C'" as "'".
    static QString encodeQuery(const QString &text);
    // Plain percent-decoding read as UTF-8; none when the text does not decode.
    static std::optional<QString> decode(const QString &stored);

    // Writes every key that has texts in at least two known language codes,
    // each replacing its earlier record whole, in one transaction. Returns the
    // number of records written. When the transaction cannot be committed
    // (another process holds the file, the disk is full) nothing is written:
    // returns 0, logs the reason and puts it in *error. Takes exclusive access itself.
    int storeTranslations(const Harvest &harvest, QString *error = nullptr);

    // Inside exclusive access: the best record whose column holds exactly the
    // text, as column name (and language alias) to decoded text. None when the
    // column is not a language code or nothing matched.
    static std::optional<QMap<QString, QString>> lookup(Database &db, const QString &column,
                                                        const QString &text);
    // lookup() in one exclusive access of its own; none when closed.
    std::optional<QMap<QString, QString>> lookupText(const QString &column, const QString &text);

    // Queues a scan of the folder on the work queue "com.brenquil.scan" and
    // returns at once; scans run one after another. The future gives the counts.
    QFuture<ScanResult> scan(const QString &folder);

signals:
    // From the work queue's thread: groups done of groups found.
    void scanProgress(int done, int found);
    // A scan that stopped early says why in one line, just before scanFinished.
    void scanFailed(const QString &reason);
    void scanFinished(int groups, int keysStored);

private:
    // lookup() weighing every matching record by the texts that decode.
    static std::optional<QMap<QString, QString>> lookupDecodingAll(Database &db, const QString &sql,
                                                                   const QString &encoded);

    QString m_path;
    QString m_closedReason;
    std::unique_ptr<DatabaseQueue> m_db;
    QThreadPool m_queue;
};
