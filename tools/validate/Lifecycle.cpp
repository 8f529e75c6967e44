// Load and unload: the module loaded, started, asked for its commands and unloaded a thousand
// times, each command in turn on the small score in every tenth cycle. After each cycle no frame
// is out, the host saw no misuse and (on Linux) the module has left the process. (In the Windows
// build CTest runs this check again under Wine's heap checks.)
#include <string>
#include <vector>

#include "SubstituteHost.h"
#include "Validator.h"

namespace plovikvalidate {

namespace {
constexpr int kCycles = 1000;
constexpr int kCommandEvery = 10;
}  // namespace

void LoadAndUnload(Context& context) {
    plovikhost::Host& host = plovikhost::Host::Get();
    for (int cycle = 0; cycle < kCycles && context.Failures() == 0; ++cycle) {
        context.Label("cycle " + std::to_string(cycle + 1));
        context.Case();
        FreshHost();
        Session session(context);
        if (!session.Loaded()) return;
        session.Start();
        ExpectCommands(context, session.Module());
        const std::vector<uint32_t> indices = CommandIndices(context);
        if (cycle % kCommandEvery == 0 && !indices.empty()) {
            const uint32_t index = indices[(cycle / kCommandEvery) % indices.size()];
            SmallScore(host.CurrentDocument());
            const plovikhost::Document before = host.CurrentDocument();
            const EREGION region = before.WholeRegion();
            session.Invoke(index, &region);
            const plovikhost::Document& after = host.CurrentDocument();
            if (context.GetOracle() && context.GetOracle()->StoresFrames(index))
                context.Expect(host.Count("FX_SaveTGF") > 0,
                               CommandName(context, index) + " stored no frame");
            ExpectRules(context, index, before, after, region);
        }
        session.Unload();
        ExpectHostClean(context, "after the unload");
    }
    context.Label("");
}

}  // namespace plovikvalidate
