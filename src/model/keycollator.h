// The locale collation that orders the keys of a file in the canonical layout,
// and that tells whether a file's keys already stand in that order.
#pragma once

#include <QString>
#include <QStringView>
#include <vector>

struct UCollator;

class KeyCollator
{
public:
    // The collator of the named ICU locale ("en", "de_DE") at its default
    // strength; an empty name takes the current locale. Without ICU data for
    // it, texts are compared by code units.
    explicit KeyCollator(const QString &locale);
    ~KeyCollator();
    KeyCollator(const KeyCollator &) = delete;
    KeyCollator &operator=(const KeyCollator &) = delete;

    // <0, 0, >0. Texts the collation finds equal are ordered by code units,
    // so the order is total and repeatable.
    int compare(QStringView a, QStringView b) const;
    // The texts' ascending order of compare(), computed through sort keys:
    // for each place, the index of the text that goes there.
    std::vector<quint32> order(const std::vector<const QString *> &texts) const;

private:
    UCollator *m_collator = nullptr;
};
