// Load and unload: the module loaded, started, asked for its commands and unloaded a thousand
// times, with a whole Tie on the small score in every tenth cycle. After each cycle no frame is
// out, the host saw no misuse and (on Linux) the module has left the process. (In the Windows
// build CTest runs this check again under Wine's heap checks.)
#include <string>

#include "SubstituteHost.h"
#include "Validator.h"

namespace plovikvalidate {

namespace {
constexpr int kCycles = 1000;
constexpr int kTieEvery = 10;
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
        char record[256] = {};
        context.Expect(session.Module().enumerate(0, 0, record) == 1 &&
                           session.Module().enumerate(0, 1, record) == 1 &&
                           session.Module().enumerate(0, 2, record) == 0,
                       "FinaleExtensionEnumerate did not list exactly two commands");
        if (cycle % kTieEvery == 0) {
            SmallScore(host.CurrentDocument());
            const plovikhost::Document before = host.CurrentDocument();
            const EREGION region = before.WholeRegion();
            session.Invoke(0, &region);
            const plovikhost::Document& after = host.CurrentDocument();
            context.Expect(host.Count("FX_SaveTGF") > 0, "Tie stored no frame");
            ExpectTieRules(context, before, after, region, Judgement{});
        }
        session.Unload();
        ExpectHostClean(context, "after the unload");
    }
    context.Label("");
}

}  // namespace plovikvalidate
