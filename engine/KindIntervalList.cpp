#include "KindIntervalList.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <limits>

namespace {

constexpr std::uint64_t lastByte = std::numeric_limits<std::uint32_t>::max();

// The effect of folding a sequence of runs over one byte, as a map from the kind before to the
// kind after. State `none` stands for "no run yet": the first run sets its own kind.
constexpr std::uint8_t none = kindCount;
using KindMap = std::array<std::uint8_t, kindCount + 1>;

KindMap identityMap()
{
    KindMap map{};
    for (std::uint8_t s = 0; s <= none; ++s)
        map[s] = s;
    return map;
}

KindMap reportMap(DateFieldKind kind)
{
    KindMap map{};
    for (std::uint8_t s = 0; s < none; ++s)
        map[s] = static_cast<std::uint8_t>(combineKinds(kind, static_cast<DateFieldKind>(s)));
    map[none] = static_cast<std::uint8_t>(kind);
    return map;
}

// `first` applied, then `then`.
KindMap compose(const KindMap &first, const KindMap &then)
{
    KindMap map{};
    for (std::uint8_t s = 0; s <= none; ++s)
        map[s] = then[first[s]];
    return map;
}

// Folds the currently covering runs in list order: a segment tree over the list positions whose
// leaves are the runs' maps (identity when the run does not cover the current byte).
class CoverFold
{
public:
    explicit CoverFold(std::size_t count)
    {
        while (m_size < count)
            m_size *= 2;
        m_tree.assign(2 * m_size, identityMap());
    }

    void set(std::size_t position, const KindMap &map)
    {
        std::size_t node = m_size + position;
        m_tree[node] = map;
        for (node /= 2; node >= 1; node /= 2)
            m_tree[node] = compose(m_tree[2 * node], m_tree[2 * node + 1]);
    }

    DateFieldKind kind() const { return static_cast<DateFieldKind>(m_tree[1][none]); }

private:
    std::size_t m_size = 1;
    std::vector<KindMap> m_tree;
};

struct Event
{
    std::uint64_t position; // first byte covered, or first byte after the run
    std::size_t run;        // position of the run in the list
    bool starts;
};

} // namespace

namespace KindIntervalList {

bool isWellFormed(const std::vector<KindInterval> &runs)
{
    std::uint64_t previousEnd = 0;
    for (const KindInterval &run : runs) {
        if (run.index == 0 || run.length == 0 || run.index <= previousEnd || run.end() > lastByte)
            return false;
        previousEnd = run.end();
    }
    return true;
}

void normalise(std::vector<KindInterval> &runs)
{
    if (isWellFormed(runs))
        return;

    std::erase_if(runs, [](const KindInterval &run) { return run.index == 0 || run.length == 0; });
    for (KindInterval &run : runs) {
        if (run.end() > lastByte)
            run.length = static_cast<std::uint32_t>(lastByte - run.index + 1);
    }
    if (isWellFormed(runs))
        return;

    std::vector<Event> events;
    events.reserve(2 * runs.size());
    for (std::size_t i = 0; i < runs.size(); ++i) {
        events.push_back({runs[i].index, i, true});
        events.push_back({runs[i].end() + 1, i, false});
    }
    std::sort(events.begin(), events.end(), [](const Event &a, const Event &b) {
        return a.position < b.position;
    });

    CoverFold fold(runs.size());
    std::vector<KindInterval> result;
    std::size_t covering = 0;
    for (std::size_t e = 0; e < events.size();) {
        const std::uint64_t position = events[e].position;
        for (; e < events.size() && events[e].position == position; ++e) {
            const Event &event = events[e];
            fold.set(event.run, event.starts ? reportMap(runs[event.run].kind) : identityMap());
            covering += event.starts ? 1 : std::size_t(-1);
        }
        // Every run has an end event after its start, so a covered segment has a next event.
        if (covering > 0 && e < events.size()) {
            const std::uint64_t length = events[e].position - position;
            result.push_back({fold.kind(),
                              static_cast<std::uint32_t>(position),
                              static_cast<std::uint32_t>(length)});
        }
    }
    runs = std::move(result);
}

} // namespace KindIntervalList
