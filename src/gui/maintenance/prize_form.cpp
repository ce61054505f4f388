#include "gui/maintenance/prize_form.h"

#include <QLocale>

namespace mirkano {

QString prizeValueText(std::optional<Yen> value)
{
    if (!value)
        return {};
    // Grouped by three with ",", whatever the system's locale.
    return QLocale(QLocale::Japanese, QLocale::Japan).toString(qlonglong(*value));
}

PrizeValueReading readPrizeValue(const QString& field, const QString& text)
{
    // Full-width digits and separators read as their ASCII forms.
    QString t = text.normalized(QString::NormalizationForm_KC).trimmed();
    if (t.isEmpty())
        return {};
    if (t == QStringLiteral("該当なし"))
        return {Yen(0), {}};
    if (t.endsWith(u'円') || t.endsWith(u'口'))
        t = t.chopped(1).trimmed();
    const QString refused = QStringLiteral("「%1」の「%2」は保存できません：").arg(field, text.trimmed());
    // Separators only between digits: "1,000" and "1000", not ",1" or "1,".
    QString digits;
    for (qsizetype i = 0; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c >= u'0' && c <= u'9') {
            digits += c;
        } else if (c == u',' && i > 0 && i + 1 < t.size() && t[i - 1].isDigit() && t[i + 1].isDigit()) {
            continue;
        } else {
            return {std::nullopt,
                    refused + QStringLiteral("0以上の整数で入力してください（空欄は「不明」です）。")};
        }
    }
    if (digits.isEmpty())
        return {std::nullopt, refused + QStringLiteral("0以上の整数で入力してください（空欄は「不明」です）。")};
    bool ok = false;
    const qlonglong v = digits.toLongLong(&ok);
    if (!ok)
        return {std::nullopt, refused + QStringLiteral("値が大きすぎます。")};
    return {Yen(v), {}};
}

PrizeFormReading readPrizeForm(int drawNo, const QStringList& texts, GameId game)
{
    const std::vector<QString> names = prizeFieldNames(game);
    std::vector<std::optional<Yen>> fields;
    PrizeFormReading reading;
    for (std::size_t i = 0; i < names.size(); ++i) {
        const QString text = qsizetype(i) < texts.size() ? texts[qsizetype(i)] : QString();
        PrizeValueReading value = readPrizeValue(names[i], text);
        if (!value.error.isEmpty()) {
            reading.error = value.error;
            reading.errorField = int(i);
            return reading;
        }
        if (value.value == kSuspectYen)
            reading.suspect << names[i];
        fields.push_back(value.value);
    }
    reading.prizes = prizesFromFields(drawNo, fields, game);
    return reading;
}

}  // namespace mirkano
