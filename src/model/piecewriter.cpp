// Atomic writing from pieces, comparing with the old file as it goes.
#include "model/piecewriter.h"

#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <cstring>

namespace {
// The most of the old file read at once.
constexpr qsizetype SliceBytes = 1024 * 1024;
} // namespace

PieceWriter::PieceWriter(const QString &path) : m_path(path), m_old(path)
{
    const QFileInfo info(path);
    if ((info.exists() && !info.isFile()) || (info.isSymLink() && !info.exists())) {
        m_failed = true;
        return;
    }
    // An old file that cannot be read for comparing is simply replaced.
    m_matching = info.isFile() && m_old.open(QIODevice::ReadOnly);
}

PieceWriter::~PieceWriter()
{
    if (m_new)
        m_new->cancelWriting();
}

bool PieceWriter::append(QByteArrayView piece)
{
    if (m_failed)
        return false;
    if (m_matching) {
        // In slices, so that a piece as large as the file is not held twice.
        qsizetype matched = 0;
        while (matched < piece.size()) {
            const qsizetype size = std::min<qsizetype>(SliceBytes, piece.size() - matched);
            m_oldPiece.resize(size);
            if (m_old.read(m_oldPiece.data(), size) != size ||
                std::memcmp(m_oldPiece.constData(), piece.data() + matched, size_t(size)) != 0)
                break;
            matched += size;
        }
        if (matched == piece.size()) {
            m_given += piece.size();
            return true;
        }
        m_matching = false;
    }
    if (!m_new && !startWriting())
        return false;
    if (m_new->write(piece.data(), piece.size()) != piece.size())
        m_failed = true;
    m_given += piece.size();
    return !m_failed;
}

bool PieceWriter::finish()
{
    if (m_failed)
        return false;
    // Every piece matched, and the old file ends where they do.
    if (m_matching && m_old.atEnd())
        return true;
    m_matching = false;
    if (!m_new && !startWriting())
        return false;
    const bool committed = m_new->commit();
    m_new.reset();
    return committed;
}

bool PieceWriter::startWriting()
{
    m_new = std::make_unique<QSaveFile>(m_path);
    if (!m_new->open(QIODevice::WriteOnly)) {
        m_new.reset();
        m_failed = true;
        return false;
    }
    // The matched start is read again rather than kept: it may be most of a
    // large file.
    if (m_given > 0) {
        if (!m_old.seek(0)) {
            m_failed = true;
            return false;
        }
        for (qint64 copied = 0; copied < m_given;) {
            const qint64 size = std::min<qint64>(SliceBytes, m_given - copied);
            m_oldPiece.resize(size);
            if (m_old.read(m_oldPiece.data(), size) != size ||
                m_new->write(m_oldPiece.constData(), size) != size) {
                m_failed = true;
                return false;
            }
            copied += size;
        }
    }
    m_old.close();
    m_oldPiece = QByteArray();
    return true;
}
