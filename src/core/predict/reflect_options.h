#pragma once
// The twelve reflect options of the prediction: the caption each has in the
// prediction window, the key it is saved under in the settings file, and the
// weight it adds to the offset of the draws the predictions are taken from.
// One table, so the three can never drift apart.

#include <QStringView>

#include <array>

namespace mirkano {

struct ReflectOption {
    QStringView caption;  // option frame of the prediction window
    QStringView key;      // line key in the settings file
    int weight;           // added to the offset while the option is on
};

inline constexpr int kReflectOptionCount = 12;

// In option-index order, which is also the order of the settings file and of
// the option frames from top to bottom.
inline constexpr std::array<ReflectOption, kReflectOptionCount> kReflectOptions = {{
    {u"■頻度分析（出現頻度分析、回数出現分析）", u"頻度分析Opt", 1},
    {u"■間隔分析（出現間隔分析、数字間隔分析）", u"間隔分析Opt", 15},
    {u"■出現回数分析", u"出現回数分析Opt", 6},
    {u"■バラツキ分析", u"バラツキ分析Opt", 9},
    {u"■引っ張り分析", u"引っ張り分析Opt", 10},
    {u"■連番・飛び石分析", u"連番飛び石分析Opt", 4},
    {u"■数字合計分析", u"数字合計分析Opt", 8},
    {u"■組合せパターン分析", u"組合せパターン分析Opt", 2},
    {u"■5分割傾向分析", u"5分割傾向分析Opt", 11},
    {u"■分割データ分析", u"分割データ分析Opt", 7},
    {u"■下一桁出現傾向分析", u"下一桁出現傾向分析Opt", 16},
    {u"■下一桁連続出現回数分析", u"下一桁連続出現回数分析Opt", 3},
}};

// Which options are on ("反映する"); all off by default.
struct ReflectFlags {
    std::array<bool, kReflectOptionCount> on{};

    // The sum of the weights of the options that are on: 0 … 92.
    constexpr int offset() const
    {
        int w = 0;
        for (int i = 0; i < kReflectOptionCount; ++i)
            if (on[std::size_t(i)])
                w += kReflectOptions[std::size_t(i)].weight;
        return w;
    }
    friend constexpr bool operator==(const ReflectFlags&, const ReflectFlags&) = default;
};

}  // namespace mirkano
