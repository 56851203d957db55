// One allocation for many short texts: QStrings that share a block of UTF-16
// storage instead of each having an allocation of its own.
#pragma once

#include <QString>
#include <QStringView>
#include <algorithm>
#include <tuple>

// One allocation for a run of texts instead of one per text: each allocation
// costs a header and the allocator's own overhead (some 32 bytes, a fifth of
// an entry's texts), and allocating and freeing them is most of the cost of
// reading a file. Blocks are kept to a few KiB: the allocator serves those
// from memory it reuses, where a block for a whole file would be mapped,
// faulted in and unmapped afresh each time (a third slower for a project of
// many small files), and a block lives as long as any one of its texts. Each
// text taken is null-terminated, as any QString's is (a prefix() is not), and
// each QString takes its own reference to the block, so the strings behave
// like separately allocated ones: they detach when written to while the
// block is shared, and the block is freed with the last of them. A string
// left alone in its block may grow into the room behind it, so no string may
// be written to while the block is still being filled. It builds QStrings on Qt's array storage
// (QTypedArrayData, QString(DataPointer&&)), public in Qt 6's headers but
// undocumented; checked against Qt 6.4.2.
class TextBlock
{
public:
    // Room for 'units' UTF-16 units, each text's terminator included.
    explicit TextBlock(qsizetype units)
    {
        std::tie(m_header, m_next) = Data::allocate(units);
        Q_CHECK_PTR(m_next);
        m_end = m_next + units;
    }
    TextBlock(const TextBlock &) = delete;
    TextBlock &operator=(const TextBlock &) = delete;
    ~TextBlock()
    {
        // Only when no text was taken does the block still belong to us.
        if (!m_taken)
            Data::deallocate(m_header);
    }

    // Units left, terminators included.
    qsizetype left() const { return m_end - m_next; }

    // A string holding a copy of the 'size' units at 'from'; there must be
    // room for them and a terminator.
    QString take(const char16_t *from, qsizetype size)
    {
        Q_ASSERT(size < left());
        // The allocation came with one reference: that of the first text.
        if (m_taken)
            m_header->ref();
        m_taken = true;
        char16_t *text = m_next;
        std::copy_n(from, size, text);
        text[size] = u'\0';
        m_next += size + 1;
        return QString(QString::DataPointer(m_header, text, size));
    }

    QString take(QStringView text) { return take(text.utf16(), text.size()); }

    // The first `size` units of `text` (size <= text.size()), sharing its
    // storage rather than copying it. Unless it is all of `text`, the result
    // is not null-terminated: constData() and unicode() then run on into the
    // rest of `text`, and only size() tells where it ends, as for a string
    // made by QString::fromRawData(). Writing to it detaches it as usual.
    static QString prefix(const QString &text, qsizetype size)
    {
        Q_ASSERT(size <= text.size());
        // Static and raw storage is not counted: a copy then.
        if (!text.data_ptr().isMutable())
            return text.left(size);
        QString::DataPointer shared = text.data_ptr();
        shared.size = size;
        return QString(std::move(shared));
    }

private:
    using Data = QTypedArrayData<char16_t>;
    Data *m_header = nullptr;
    char16_t *m_next = nullptr;
    char16_t *m_end = nullptr;
    bool m_taken = false;
};
