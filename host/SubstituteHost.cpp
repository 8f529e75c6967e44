#include "SubstituteHost.h"

#include <algorithm>
#include <cstring>

#if !defined(_WIN32)
#include "StandIn.h"
#endif

namespace plovikhost {

Host& Host::Get() {
    static Host host;
    return host;
}

void Host::Reset() {
    hidden_.clear();
    calls_.clear();
    counts_.clear();
    countAt_.clear();
    documents_.clear();
    problems_.clear();
    edits_.clear();
    openEdits_.clear();
    alerts.clear();
    frames_.Clear();
    refuseLoadTGF = nullptr;
    refuseSaveTGF = nullptr;
    alterLoadedTGF = nullptr;
    scribbleOnFailedLoads = false;
    refuseCreateEData = nullptr;
    refuseDeleteEData = nullptr;
    refuseUnknownFonts = false;
    answerNextDocument = nullptr;
    answerNextPartID = nullptr;
    clips.clear();
    nextClipToken = 1;
    refuseEdits = false;
    maxLayers = 4;
    answers.clear();
    view = WindowView{};
    menuItems.clear();
    menuItemResult = 1;
    redraws.clear();
    AddDocument(1);
    current_ = 1;
    Register();
}

void Host::Install(const std::string& moduleName) {
    Uninstall();
    moduleName_ = moduleName;
    Register();
}

void Host::Uninstall() {
#if !defined(_WIN32)
    if (!moduleName_.empty()) platform::RemoveModule(moduleName_);
#endif
    moduleName_.clear();
}

void Host::Register() {
#if !defined(_WIN32)
    if (moduleName_.empty()) return;
    platform::ModuleImage image;
    for (const ServiceExport& service : ServiceTable())
        if (!IsHidden(service.name)) image.exports[service.name] = service.address;
    platform::RegisterModule(moduleName_, std::move(image));
#endif
}

void Host::Hide(std::initializer_list<std::string> names) {
    hidden_.insert(names.begin(), names.end());
    Register();
}

void Host::HideAll() {
    for (const ServiceExport& service : ServiceTable()) hidden_.insert(service.name);
    Register();
}

void Host::ShowAll() {
    hidden_.clear();
    Register();
}

void Host::Log(const char* name, std::initializer_list<int64_t> args, std::string_view text,
               const void* key) {
    int*& count = countAt_[name];
    if (!count) {
        const std::string_view service(name);
        auto it = counts_.find(service);
        if (it == counts_.end()) it = counts_.emplace(service, 0).first;
        count = &it->second;
    }
    ++*count;
    // Only an address kept from before the service was hidden reaches it; said once.
    if (!hidden_.empty() && IsHidden(name)) {
        const std::string problem = std::string(name) + " was called, though the host lacks it";
        if (std::find(problems_.begin(), problems_.end(), problem) == problems_.end())
            ReportProblem(problem);
    }
    if (!keepCalls) return;
    calls_.push_back({name, args, std::string(text), {}});
    if (key) std::memcpy(calls_.back().key.data(), key, calls_.back().key.size());
}

int32_t Host::Answer(std::string_view service, std::initializer_list<int64_t> args,
                     int32_t answer) {
    if (answers.empty()) return answer;
    auto it = answers.find(service);
    return it == answers.end() ? answer : it->second(std::vector<int64_t>(args), answer);
}

int Host::Count(const std::string& name) const {
    auto it = counts_.find(name);
    return it == counts_.end() ? 0 : it->second;
}

const CallRecord* Host::LastCall(const std::string& name) const {
    for (auto it = calls_.rbegin(); it != calls_.rend(); ++it)
        if (it->name == name) return &*it;
    return nullptr;
}

void Host::ClearCalls() {
    calls_.clear();
    counts_.clear();
    countAt_.clear();
}

Document& Host::AddDocument(int16_t number) {
    Document& doc = documents_[number];
    doc = Document{};
    doc.number = number;
    doc.instrumentLists[0];
    return doc;
}

Document* Host::FindDocument(int16_t number) {
    auto it = documents_.find(number);
    return it == documents_.end() ? nullptr : &it->second;
}

Document& Host::CurrentDocument() {
    Document* doc = FindDocument(current_);
    return doc ? *doc : AddDocument(current_);
}

bool Host::SetCurrentDocument(int16_t number) {
    if (!FindDocument(number)) return false;
    current_ = number;
    return true;
}

int16_t Host::NextDocumentNumber(int16_t after) const {
    auto it = documents_.upper_bound(after);
    return it == documents_.end() ? 0 : it->first;
}

int32_t Host::BeginEdit(const std::string& name) {
    if (refuseEdits) return 0;
    edits_.push_back({name, EditRecord::OPEN});
    openEdits_.push_back({edits_.size() - 1, current_, CurrentDocument()});
    return 1;
}

bool Host::EndEdit() {
    if (openEdits_.empty()) return false;
    edits_[openEdits_.back().edit].state = EditRecord::ENDED;
    openEdits_.pop_back();
    return true;
}

bool Host::CancelEdit() {
    if (openEdits_.empty()) return false;
    Snapshot& snapshot = openEdits_.back();
    edits_[snapshot.edit].state = EditRecord::CANCELLED;
    if (Document* doc = FindDocument(snapshot.document)) *doc = std::move(snapshot.copy);
    openEdits_.pop_back();
    return true;
}

}  // namespace plovikhost
