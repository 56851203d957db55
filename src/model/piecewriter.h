// Writing a large file from pieces as they are made, atomically, without
// holding its whole content.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QString>
#include <memory>

class QSaveFile;

// Takes a file's new content a piece at a time, in order. Like
// TextFile::writeBytes: a failure leaves the old file whole, a path that
// exists but is not a regular file (or a link leading nowhere) is refused,
// and a file whose bytes already equal the new content is left untouched.
// The new content is compared with the old as it arrives; the file is only
// opened for writing once they differ. Destroyed unfinished, it writes
// nothing.
class PieceWriter
{
public:
    explicit PieceWriter(const QString &path);
    ~PieceWriter();
    PieceWriter(const PieceWriter &) = delete;
    PieceWriter &operator=(const PieceWriter &) = delete;

    // Adds the next piece. Returns false once anything has failed.
    bool append(QByteArrayView piece);
    // Makes the pieces the file's content. Returns false when the file was
    // not written (and then keeps its old content).
    bool finish();

private:
    // Opens the new file and copies into it the start of the old one that
    // the pieces so far have matched.
    bool startWriting();

    QString m_path;
    QFile m_old;
    // Whether every byte given so far equals the old file's at its place.
    bool m_matching = false;
    qint64 m_given = 0;
    QByteArray m_oldPiece;
    std::unique_ptr<QSaveFile> m_new;
    bool m_failed = false;
};
