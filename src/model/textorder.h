// Text orderings used for rows and language lists: code-point order (not
// UTF-16 code-unit order), the case- and canonical-equivalence-blind form that
// key and value sorting compares, and ordering with numeric digit runs.
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

namespace TextOrder {

// <0, 0, >0 by Unicode code points.
int compareCodePoints(QStringView a, QStringView b);
bool lessByCodePoints(QStringView a, QStringView b);
// Sorts in ascending code-point order.
void sortByCodePoints(QStringList &texts);

// Lowercased (Unicode default case mapping) and canonically decomposed, so that
// canonically equivalent texts compare equal by code points.
QString sortFold(const QString &text);

// sortFold() as UTF-8, whose byte order is code-point order: sort keys that
// compare with memcmp. Texts of ASCII only are lowercased without the
// normaliser, which leaves them as they are.
QByteArray sortKey(const QString &text);
// Appends sortKey(text) to `out`.
void appendSortKey(QByteArray &out, const QString &text);

// Compares with runs of decimal digits ordered by their numeric value
// ("ok (9)" before "ok (10)"); other characters by code point; no locale rules.
int compareNumeric(QStringView a, QStringView b);

} // namespace TextOrder
