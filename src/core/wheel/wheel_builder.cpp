// Building a checked wheel: free numbers mapped to points 0 … n − 1, an exact
// design or the search, the check, and the tickets in the chosen numbers.

#include "core/wheel/wheel_builder.h"

#include "core/wheel/known_designs.h"
#include "core/wheel/wheel_cover.h"
#include "core/wheel/wheel_search.h"

#include <algorithm>

namespace mirkano {

namespace {

struct Mapping {
    std::vector<int> free;  // point i is the number free[i]
    wheel::CoverShape shape;
};

Mapping mappingOf(const WheelInput& in)
{
    Mapping map;
    for (int n : in.numbers)
        if (!std::binary_search(in.keys.begin(), in.keys.end(), n))
            map.free.push_back(n);
    map.shape = {int(map.free.size()), game(in.game).mains - int(in.keys.size()), in.match, in.drawn};
    return map;
}

}  // namespace

bool wheelKeepsGuarantee(const WheelInput& in, const std::vector<std::vector<int>>& tickets)
{
    const Mapping map = mappingOf(in);
    const int size = game(in.game).mains;
    std::vector<wheel::Mask> blocks;
    for (const std::vector<int>& t : tickets) {
        std::vector<int> sorted = t;
        std::sort(sorted.begin(), sorted.end());
        if (int(sorted.size()) != size || std::adjacent_find(sorted.begin(), sorted.end()) != sorted.end())
            return false;
        wheel::Mask b = 0;
        int keys = 0;
        for (int n : sorted) {
            if (std::binary_search(in.keys.begin(), in.keys.end(), n)) {
                ++keys;
                continue;
            }
            const auto it = std::lower_bound(map.free.begin(), map.free.end(), n);
            if (it == map.free.end() || *it != n)
                return false;  // not a chosen number
            b |= wheel::Mask(1) << (it - map.free.begin());
        }
        if (keys != int(in.keys.size()))
            return false;
        blocks.push_back(b);
    }
    return !blocks.empty() && wheel::uncoveredCount(map.shape, blocks) == 0;
}

Wheel buildWheel(const WheelInput& raw, const WheelOptions& options)
{
    Wheel w;
    w.input = checkedWheelInput(raw);
    const Mapping map = mappingOf(w.input);
    const wheel::CoverShape& s = map.shape;
    w.lowerBound = wheel::lowerBound(s);

    wheel::SearchControl control;
    control.deadline = control.started + std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                                             std::chrono::duration<double>(std::max(0.1, options.seconds)));
    control.cancelled = options.cancelled;
    control.progress = options.progress;

    std::vector<wheel::Mask> blocks;
    try {
        const wheel::KnownDesign* design = wheel::findKnownDesign(s.n, s.k, s.t);
        std::vector<wheel::Mask> exact = design ? design->blocks() : std::vector<wheel::Mask>{};
        if (!exact.empty() && wheel::uncoveredCount(s, exact) == 0) {
            blocks = std::move(exact);
            w.design = QString::fromUtf16(design->name);
            w.designSource = QString::fromUtf16(design->source);
        } else {
            blocks = wheel::greedyCover(s, control);
        }
        if (blocks.size() > w.lowerBound) {
            wheel::Improvement better = wheel::improveCover(s, blocks, control);
            w.searchComplete = better.complete;
            if (better.blocks.size() < blocks.size()) {
                blocks = std::move(better.blocks);
                w.design.clear();
                w.designSource.clear();
            }
        }
    } catch (const wheel::SearchCancelled&) {
        throw WheelCancelled{};
    } catch (const wheel::SearchFailed& f) {
        throw WheelError(f.tooManyTickets
                             ? QStringLiteral("券が %1 枚を超えるため、この組合せは作成できません。数字を減らすか保証を緩めてください")
                                   .arg(kMaxWheelTickets)
                             : QStringLiteral("%1 秒以内に組合せを作成できませんでした。時間を延ばすか、数字を減らしてください")
                                   .arg(options.seconds));
    }

    // The tickets in the chosen numbers, keys included, in a stable order.
    for (wheel::Mask b : blocks) {
        std::vector<int> t = w.input.keys;
        for (wheel::Mask r = b; r; r &= r - 1)
            t.push_back(map.free[std::size_t(std::countr_zero(r))]);
        std::sort(t.begin(), t.end());
        w.tickets.push_back(std::move(t));
    }
    std::sort(w.tickets.begin(), w.tickets.end());
    // Every promise is checked before the wheel leaves the builder.
    w.verified = wheelKeepsGuarantee(w.input, w.tickets);
    if (!w.verified)
        throw WheelError(QStringLiteral("作成した組合せが保証を満たしていないため、表示しません（プログラムの誤りです）"));
    return w;
}

QString guaranteeText(const WheelInput& in)
{
    const QString numbers = in.keys.empty() ? QStringLiteral("選んだ数字") : QStringLiteral("選んだ数字（キー数字を除く）");
    return QStringLiteral("%1のうち %2 個が当たれば、どれかの券で %3 個以上一致").arg(numbers).arg(in.drawn).arg(in.match);
}

}  // namespace mirkano
