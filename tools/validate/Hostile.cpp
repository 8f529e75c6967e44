// A host that answers badly, each way alone and then in random combinations, to every command:
// every service on the commands' road hidden in turn, FX_LoadTGF failing at each of its calls,
// FX_SaveTGF refusing, frames with odd note, entry and tuplet counts or null arrays, and wrong
// answers about layers, slots and staves. Each run answers 1, leaves no frame out and changes
// nothing but what the tie rules allow. Every case loads the module afresh, so that its look-ups
// see the host as the case has made it.
#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "ScoreBuilder.h"
#include "SubstituteHost.h"
#include "Validator.h"

namespace plovikvalidate {

using plovikhost::Host;

namespace {

// What a case does to the host before the module is loaded; it may say how the run is judged.
using Setup = std::function<void(Host&, Judgement&)>;

// Loads the module, runs the command on the region of the small score as the setup has made
// the host, and judges it.
void RunCase(Context& context, const std::string& label, uint32_t index, const Setup& setup,
             const EREGION* region = nullptr) {
    context.Label(label);
    context.Case();
    Host& host = Host::Get();
    FreshHost();
    SmallScore(host.CurrentDocument());
    Judgement judgement;
    if (setup) setup(host, judgement);
    const plovikhost::Document before = host.CurrentDocument();
    const EREGION whole = before.WholeRegion();
    {
        Session session(context);
        if (!session.Loaded()) return;
        session.Start();
        session.Invoke(index, region ? region : &whole);
        ExpectRules(context, index, before, host.CurrentDocument(), region ? *region : whole,
                    judgement);
        ExpectHostClean(context, "after the command");
        session.Unload();
    }
    FreshHost();
}

// The services the commands call on the whole small score, and how often each command loads
// and stores a frame (the most any of them does: loads and saves).
struct Road {
    std::vector<std::string> services;
    std::map<uint32_t, int> loadsOf, savesOf;
    int loads = 0;
    int saves = 0;
};

Road TheRoad(Context& context) {
    Road road;
    std::set<std::string> seen;
    for (uint32_t index : CommandIndices(context)) {
        Host& host = Host::Get();
        FreshHost();
        SmallScore(host.CurrentDocument());
        const EREGION whole = host.CurrentDocument().WholeRegion();
        Session session(context);
        if (!session.Loaded()) return road;
        session.Invoke(index, &whole);
        for (const plovikhost::ServiceExport& service : plovikhost::ServiceTable())
            if (host.Count(service.name) > 0 && seen.insert(service.name).second)
                road.services.push_back(service.name);
        road.loadsOf[index] = host.Count("FX_LoadTGF");
        road.savesOf[index] = host.Count("FX_SaveTGF");
        road.loads = std::max(road.loads, road.loadsOf[index]);
        road.saves = std::max(road.saves, road.savesOf[index]);
        session.Unload();
        ExpectHostClean(context, "the road");
        FreshHost();
    }
    return road;
}

// ---- Frames damaged on their way out ----

enum class Damage {
    ENTRY_COUNT_MINUS_3,
    ENTRY_COUNT_LOWEST,
    NULL_ENTRIES,
    TUPLET_COUNT_MINUS_3,
    NULL_TUPLETS
};
const char* const kDamageNames[] = {"entry count -3", "entry count -32768",
                                    "a null entry array with a count of 5", "tuplet count -3",
                                    "a null tuplet array with a count of 3"};
constexpr int kDamages = 5;

void DamageFrame(EXTGF2005a* frame, Damage damage) {
    switch (damage) {
        case Damage::ENTRY_COUNT_MINUS_3:
            frame->entryCount = -3;
            break;
        case Damage::ENTRY_COUNT_LOWEST:
            frame->entryCount = INT16_MIN;
            break;
        case Damage::NULL_ENTRIES:
            frame->entries = nullptr;
            frame->entryCount = 5;
            break;
        case Damage::TUPLET_COUNT_MINUS_3:
            frame->tupletCount = -3;
            break;
        case Damage::NULL_TUPLETS:
            frame->tuplets = nullptr;
            frame->tupletCount = 3;
            break;
    }
}

// Frames of the measure (0: every measure) come out damaged. Entries the header hides are
// passed over by the command, so a tie may reach past them.
void DamageFrames(Host& host, Judgement& judgement, Damage damage, int16_t measure) {
    host.alterLoadedTGF = [damage, measure](EXTGF2005a* frame) {
        if (frame && (measure == 0 || frame->measure == measure)) DamageFrame(frame, damage);
    };
    if (damage != Damage::TUPLET_COUNT_MINUS_3 && damage != Damage::NULL_TUPLETS)
        judgement.partners = false;
}

// Entries of the document with odd note counts: the frames carry them as the host holds them.
const int16_t kOddNoteCounts[] = {13, 40, -3};
void OddNoteCounts(Host& host, Judgement& judgement, int16_t count) {
    plovikhost::Document& doc = host.CurrentDocument();
    doc.CellAt(2, 1, 0).entries[0].noteCount = count;
    doc.CellAt(5, 2, 0).entries[1].noteCount = count;
    doc.CellAt(3, 1, 0).entries[3].noteCount = count;
    judgement.cleaning = true;
}

// ---- Wrong answers ----

void Answer(Host& host, const char* service, Host::AnswerOverride answer) {
    host.answers[service] = std::move(answer);
}

Host::AnswerOverride Constant(int32_t value) {
    return [value](const std::vector<int64_t>&, int32_t) { return value; };
}

// FX_SlotToInst: the staff of the next slot.
int32_t NextSlotsStaff(const std::vector<int64_t>& args, int32_t answer) {
    const std::vector<int16_t>& staves = Host::Get().CurrentDocument().Staves();
    if (answer <= 0 || staves.empty()) return answer;
    return staves[static_cast<size_t>(args[0]) % staves.size()];
}

// FX_GetShowLayer: shown and hidden by turns, whatever the layer.
Host::AnswerOverride Flickering() {
    auto calls = std::make_shared<int>(0);
    return [calls](const std::vector<int64_t>&, int32_t) { return (*calls)++ % 2 == 0 ? 1 : 0; };
}

}  // namespace

void HiddenServices(Context& context) {
    const Road road = TheRoad(context);
    context.Expect(!road.services.empty(), "the command called no service");
    for (const std::string& service : road.services)
        for (uint32_t index : CommandIndices(context))
            RunCase(context, CommandName(context, index) + " without " + service, index,
                    [&](Host& host, Judgement&) { host.Hide(service); });
    context.Label("");
}

void FailingFrames(Context& context) {
    Road road = TheRoad(context);
    for (uint32_t index : CommandIndices(context)) {
        const std::string command = CommandName(context, index) + ", ";
        if (context.GetOracle() && context.GetOracle()->StoresFrames(index))
            context.Expect(road.loadsOf[index] > 0 && road.savesOf[index] > 0,
                           command + "loaded or stored no frame");
        for (int n = 1; n <= road.loadsOf[index] + 1; ++n)
            RunCase(context, command + "FX_LoadTGF failing at call " + std::to_string(n), index,
                    [n](Host& host, Judgement&) {
                        auto calls = std::make_shared<int>(0);
                        host.refuseLoadTGF = [calls, n](const plovikhost::FrameRequest&) {
                            return ++*calls == n;
                        };
                    });
        RunCase(context, command + "FX_SaveTGF refusing every frame", index,
                [](Host& host, Judgement&) {
                    host.refuseSaveTGF = [](const EXTGF2005a*) { return true; };
                });
        for (int n = 1; n <= road.savesOf[index]; ++n)
            RunCase(context, command + "FX_SaveTGF refusing call " + std::to_string(n), index,
                    [n](Host& host, Judgement&) {
                        auto calls = std::make_shared<int>(0);
                        host.refuseSaveTGF = [calls, n](const EXTGF2005a*) {
                            return ++*calls == n;
                        };
                    });
    }
    context.Label("");
}

void DamagedFrames(Context& context) {
    for (uint32_t index : CommandIndices(context)) {
        const std::string command = CommandName(context, index) + ", ";
        for (int16_t count : kOddNoteCounts)
            RunCase(context, command + "note count " + std::to_string(count), index,
                    [count](Host& host, Judgement& judgement) {
                        OddNoteCounts(host, judgement, count);
                    });
        for (int d = 0; d < kDamages; ++d)
            for (int16_t measure : {0, 1, 2, 4})
                RunCase(context,
                        command + kDamageNames[d] + " in " +
                            (measure ? "measure " + std::to_string(measure) : "every frame"),
                        index, [d, measure](Host& host, Judgement& judgement) {
                            DamageFrames(host, judgement, static_cast<Damage>(d), measure);
                        });
    }
    context.Label("");
}

void LyingAnswers(Context& context) {
    // Whole score, the first slot, the last two slots.
    const EREGION firstSlot = plovikhost::ScoreBuilder::Region(1, 1, 1, 4);
    const EREGION lastSlots = plovikhost::ScoreBuilder::Region(2, 3, 1, 4);
    const EREGION* const regions[] = {nullptr, &firstSlot, &lastSlots};
    auto where = [&](const EREGION* region) {
        return std::string(region == &firstSlot ? ", slot 1" : region ? ", slots 2 to 3" : "");
    };
    for (uint32_t index : CommandIndices(context)) {
        const std::string command = CommandName(context, index) + ", ";
        for (int32_t layers : {0, -1, 1, 100, 32767})
            RunCase(context, command + "FX_GetMaxLayers answering " + std::to_string(layers), index,
                    [layers](Host& host, Judgement&) {
                        Answer(host, "FX_GetMaxLayers", Constant(layers));
                    });
        for (int32_t staff : {0, -1, 99})
            for (const EREGION* region : regions)
                RunCase(
                    context,
                    command + "FX_SlotToInst answering " + std::to_string(staff) + where(region),
                    index,
                    [staff](Host& host, Judgement&) {
                        Answer(host, "FX_SlotToInst", Constant(staff));
                    },
                    region);
        for (const EREGION* region : regions)
            RunCase(
                context, command + "FX_SlotToInst answering the next slot's staff" + where(region),
                index,
                [](Host& host, Judgement&) { Answer(host, "FX_SlotToInst", &NextSlotsStaff); },
                region);
        for (int32_t slot : {0, -1, 1, 3, 32767, -32768})
            for (const EREGION* region : regions)
                RunCase(
                    context,
                    command + "FX_InstToSlot answering " + std::to_string(slot) + where(region),
                    index,
                    [slot](Host& host, Judgement&) {
                        Answer(host, "FX_InstToSlot", Constant(slot));
                    },
                    region);
        RunCase(context, command + "FX_InstToSlot answering garbage", index,
                [seed = context.Seed()](Host& host, Judgement&) {
                    auto random = std::make_shared<Random>(seed);
                    Answer(host, "FX_InstToSlot", [random](const std::vector<int64_t>&, int32_t) {
                        return static_cast<int32_t>(random->Next());
                    });
                });
        RunCase(context, command + "FX_GetShowLayer changing its answer between measures", index,
                [](Host& host, Judgement&) { Answer(host, "FX_GetShowLayer", Flickering()); });
    }
    context.Label("");
}

void HostileCombinations(Context& context) {
    constexpr int kCombinations = 300;
    const Road road = TheRoad(context);
    if (road.services.empty()) return;
    Random random(context.Seed());
    const EREGION regions[] = {plovikhost::ScoreBuilder::Region(1, 3, 1, 4),
                               plovikhost::ScoreBuilder::Region(1, 1, 1, 4),
                               plovikhost::ScoreBuilder::Region(2, 3, 2, 3, 1024, 2048),
                               plovikhost::ScoreBuilder::Region(3, 1, 4, 2)};
    const char* const kRegionNames[] = {"the whole score", "slot 1",
                                        "slots 2 to 3 in measures 2 to 3 from 1024 to 2048",
                                        "a region backwards"};
    // Each command's index, and two that a careless host may pass.
    std::vector<uint32_t> indices = CommandIndices(context);
    indices.push_back(0x10000);
    indices.push_back(5);
    for (int k = 0; k < kCombinations; ++k) {
        const uint32_t index = indices[random.Below(static_cast<uint32_t>(indices.size()))];
        const uint32_t r = random.Below(4);
        const EREGION* region = &regions[r];
        std::string label = "combination " + std::to_string(k + 1) + " of seed " +
                            std::to_string(context.Seed()) + ": index " + std::to_string(index) +
                            ", " + kRegionNames[r];
        std::vector<std::function<void(Host&, Judgement&)>> steps;
        auto chance = [&](uint32_t percent) { return random.Below(100) < percent; };
        if (chance(25)) {
            const std::string service =
                road.services[random.Below(static_cast<uint32_t>(road.services.size()))];
            label += ", without " + service;
            steps.push_back([service](Host& host, Judgement&) { host.Hide(service); });
        }
        if (chance(25)) {
            const int n = static_cast<int>(random.Below(static_cast<uint32_t>(road.loads + 1))) + 1;
            label += ", FX_LoadTGF failing at call " + std::to_string(n);
            steps.push_back([n](Host& host, Judgement&) {
                auto calls = std::make_shared<int>(0);
                host.refuseLoadTGF = [calls, n](const plovikhost::FrameRequest&) {
                    return ++*calls == n;
                };
            });
        }
        if (chance(25)) {
            const int n = static_cast<int>(random.Below(static_cast<uint32_t>(road.saves + 1))) + 1;
            label += ", FX_SaveTGF refusing call " + std::to_string(n);
            steps.push_back([n](Host& host, Judgement&) {
                auto calls = std::make_shared<int>(0);
                host.refuseSaveTGF = [calls, n](const EXTGF2005a*) { return ++*calls == n; };
            });
        }
        if (chance(30)) {
            const int d = static_cast<int>(random.Below(kDamages));
            const int16_t measure = static_cast<int16_t>(random.Below(5));
            label += std::string(", ") + kDamageNames[d] + " in measure " + std::to_string(measure);
            steps.push_back([d, measure](Host& host, Judgement& judgement) {
                DamageFrames(host, judgement, static_cast<Damage>(d), measure);
            });
        }
        if (chance(20)) {
            const int16_t count = kOddNoteCounts[random.Below(3)];
            label += ", note count " + std::to_string(count);
            steps.push_back([count](Host& host, Judgement& judgement) {
                OddNoteCounts(host, judgement, count);
            });
        }
        if (chance(20)) {
            const int32_t layers = static_cast<int32_t>(random.Below(7)) - 1;
            label += ", " + std::to_string(layers) + " layers";
            steps.push_back([layers](Host& host, Judgement&) {
                Answer(host, "FX_GetMaxLayers", Constant(layers));
            });
        }
        if (chance(15)) {
            label += ", FX_SlotToInst answering the next slot's staff";
            steps.push_back(
                [](Host& host, Judgement&) { Answer(host, "FX_SlotToInst", &NextSlotsStaff); });
        }
        if (chance(15)) {
            const int32_t slot = static_cast<int32_t>(random.Below(6)) - 1;
            label += ", FX_InstToSlot answering " + std::to_string(slot);
            steps.push_back(
                [slot](Host& host, Judgement&) { Answer(host, "FX_InstToSlot", Constant(slot)); });
        }
        if (chance(15)) {
            label += ", FX_GetShowLayer flickering";
            steps.push_back(
                [](Host& host, Judgement&) { Answer(host, "FX_GetShowLayer", Flickering()); });
        }
        RunCase(
            context, label, index,
            [&steps](Host& host, Judgement& judgement) {
                for (auto& step : steps) step(host, judgement);
            },
            region);
    }
    context.Label("");
}

}  // namespace plovikvalidate
