#include <qxxml/support/NameRegistry.h>

#include <mutex>
#include <set>

namespace QxXmlLib10 {

namespace {

// A node-based set keeps every string at its address; transparent comparison finds a view
// without making a string. Lookups are rare (once per distinct name per document), so one
// lock is enough.
struct Registry {
    std::mutex lock;
    std::set<std::wstring, std::less<>> names;
};

// Never destroyed: documents may still look names up while the process shuts down.
Registry& TheRegistry() {
    static Registry* const registry = new Registry;
    return *registry;
}

}  // namespace

const std::wstring* RegisterName(std::wstring_view name) {
    Registry& registry = TheRegistry();
    const std::lock_guard<std::mutex> hold(registry.lock);
    auto found = registry.names.find(name);
    if (found == registry.names.end()) found = registry.names.emplace(name).first;
    return &*found;
}

const std::wstring* FindRegisteredName(std::wstring_view name) {
    Registry& registry = TheRegistry();
    const std::lock_guard<std::mutex> hold(registry.lock);
    const auto found = registry.names.find(name);
    return found == registry.names.end() ? nullptr : &*found;
}

}  // namespace QxXmlLib10
