// The entry points as a careless or hostile host calls them: in every order (Invoke before
// Version or Init, after Terminate, ...), told two versions, asked for commands past the table,
// with odd indices, flag words with other bits set and menu records with guard bytes after their
// 196 bytes. Every call must answer as the plug-in's interface promises whatever came before it.
#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "SubstituteHost.h"
#include "Validator.h"

namespace plovikvalidate {

namespace {

constexpr uint8_t kGuard = 0xCD;
constexpr size_t kMenuRecord = 196;
// Indices as a host may pass them: the low 16 bits, signed, choose the command.
constexpr uint32_t kIndices[] = {0,       1,       2,          5,          0xFFFF,
                                 0x10000, 0x10001, 0x7FFFFFFF, 0xFFFFFFFF, 0x8000};

// The command FinaleExtensionEnumerate describes for an index: 0 or less in the low 16 bits,
// signed, the first, past the end none.
const Command* ExpectedCommand(const Context& context, uint32_t index) {
    const std::vector<Command>& commands = context.Commands();
    const int16_t row = std::max<int16_t>(static_cast<int16_t>(index & 0xFFFF), 0);
    return static_cast<size_t>(row) < commands.size() ? &commands[row] : nullptr;
}

// FinaleExtensionEnumerate into a record of 196 bytes followed by guard bytes.
void ExpectEnumerate(Context& context, PluginModule& module, uint32_t index) {
    std::array<uint8_t, 256> record;
    record.fill(kGuard);
    const Command* expected = ExpectedCommand(context, index);
    const uint32_t answer = module.enumerate(0, index, record.data());
    const std::string what = "FinaleExtensionEnumerate(" + std::to_string(index) + ")";
    if (!expected) {
        context.Expect(answer == 0, what + " answered a command past the table");
        context.Expect(
            std::all_of(record.begin(), record.end(), [](uint8_t b) { return b == kGuard; }),
            what + " wrote into the record of a command that does not exist");
        return;
    }
    context.Expect(answer == 1, what + " did not answer 1");
    context.Expect(std::strncmp(reinterpret_cast<const char*>(record.data()),
                                expected->menuText.c_str(), 64) == 0,
                   what + " named another command");
    uint16_t one = 0, zero = 0xFFFF;
    std::memcpy(&one, record.data() + 192, 2);
    std::memcpy(&zero, record.data() + 194, 2);
    context.Expect(one == 1 && zero == 0, what + ": the words at 192 and 194 are not 1 and 0");
    context.Expect(std::all_of(record.begin() + kMenuRecord, record.end(),
                               [](uint8_t b) { return b == kGuard; }),
                   what + " wrote past the 196 bytes of the menu record");
}

// FinaleExtensionInit with a flag word at an odd address, other bits set.
void ExpectInit(Context& context, PluginModule& module, uint32_t word) {
    uint8_t block[8];
    std::memset(block, kGuard, sizeof block);
    std::memcpy(block + 1, &word, sizeof word);
    context.Expect(module.init(0, reinterpret_cast<uint32_t*>(block + 1)) == 1,
                   "FinaleExtensionInit did not answer 1");
    uint32_t after = 0;
    std::memcpy(&after, block + 1, sizeof after);
    context.Expect(after == (word | 1), "FinaleExtensionInit changed other bits of the flag word");
    context.Expect(block[0] == kGuard && block[5] == kGuard,
                   "FinaleExtensionInit wrote beside the flag word");
}

// FinaleExtensionInvoke of the index on the small score's whole region, judged by the rules.
void ExpectInvoke(Context& context, Session& session, uint32_t index, const EREGION* region) {
    plovikhost::Host& host = plovikhost::Host::Get();
    SmallScore(host.AddDocument(host.CurrentDocumentNumber()));  // the document made anew
    const plovikhost::Document before = host.CurrentDocument();
    const EREGION whole = before.WholeRegion();
    session.Invoke(index, region ? region : &whole);
    ExpectRules(context, index, before, host.CurrentDocument(), region ? *region : whole);
    ExpectHostClean(context, "FinaleExtensionInvoke(" + std::to_string(index) + ")");
}

enum Call { VERSION, INIT, ENUMERATE, MENU_STATUS, INVOKE, TERMINATE };
const char* const kCallNames[] = {"Version",       "Init",   "Enumerate",
                                  "GetMenuStatus", "Invoke", "Terminate"};

}  // namespace

void EntryPointsInEveryOrder(Context& context) {
    std::array<int, 6> order = {VERSION, INIT, ENUMERATE, MENU_STATUS, INVOKE, TERMINATE};
    do {
        std::string label;
        for (int call : order) label += std::string(label.empty() ? "" : ", ") + kCallNames[call];
        context.Label(label);
        context.Case();
        FreshHost();
        Session session(context);
        if (!session.Loaded()) return;
        for (int call : order) {
            PluginModule& module = session.Module();
            switch (call) {
                case VERSION:
                    context.Expect(module.version(0x1A000000) == 0x1A000000,
                                   "FinaleExtensionVersion did not answer the host's version");
                    break;
                case INIT:
                    ExpectInit(context, module, 0);
                    break;
                case ENUMERATE:
                    for (uint32_t index : CommandIndices(context))
                        ExpectEnumerate(context, module, index);
                    break;
                case MENU_STATUS:
                    context.Expect(module.menuStatus(0) == 1,
                                   "FinaleExtensionGetMenuStatus did not answer 1");
                    break;
                case INVOKE:
                    for (uint32_t index : CommandIndices(context))
                        ExpectInvoke(context, session, index, nullptr);
                    break;
                case TERMINATE:
                    module.terminate(0);
                    break;
            }
        }
        session.Unload();
        ExpectHostClean(context, "after the unload");
    } while (std::next_permutation(order.begin(), order.end()));
    context.Label("");
}

void EntryPointArguments(Context& context) {
    FreshHost();
    Session session(context);
    if (!session.Loaded()) return;
    PluginModule& module = session.Module();

    context.Label("two versions");
    context.Case();
    context.Expect(module.version(0x0A000000) == 0x0A000000 &&
                       module.version(0x1B000000) == 0x1B000000 && module.version(0) == 0 &&
                       module.version(0xFFFFFFFF) == 0xFFFFFFFF,
                   "FinaleExtensionVersion did not answer each version it was told");
    ExpectInvoke(context, session, 0, nullptr);
    context.Expect(module.version(FRAMEWORK_ENIGMA_VERSION) == FRAMEWORK_ENIGMA_VERSION,
                   "FinaleExtensionVersion did not answer the host's version");

    context.Label("flag words");
    for (uint32_t word : {0u, 1u, 0xFFFFFFFEu, 0x80000000u, 0xA5A5A5A4u, 0xFFFFFFFFu}) {
        context.Case();
        ExpectInit(context, module, word);
    }
    context.Case();
    context.Expect(module.init(0, nullptr) == 1, "FinaleExtensionInit(null) did not answer 1");

    for (uint32_t index : kIndices) {
        context.Label("index " + std::to_string(index));
        context.Case();
        ExpectEnumerate(context, module, index);
        ExpectInvoke(context, session, index, nullptr);
    }
    context.Label("null menu record");
    context.Case();
    context.Expect(module.enumerate(0, 0, nullptr) == 0,
                   "FinaleExtensionEnumerate into no record did not answer 0");

    context.Label("Invoke after Terminate");
    context.Case();
    module.terminate(0);
    ExpectInvoke(context, session, 0, nullptr);
    context.Label("");
    session.Unload();
    ExpectHostClean(context, "after the unload");
}

}  // namespace plovikvalidate
