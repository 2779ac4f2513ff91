#include <qxxml/metadata/detail/ScratchValue.h>

namespace QxXmlLib10Data {
namespace detail {

thread_local CScratchValue::SlotTable* CScratchValue::t_table = nullptr;

namespace {
// Set once the thread's table is freed: a value written later in the thread's end (by another
// thread-local object's destructor) gets a slot of its own.
thread_local bool t_tableGone = false;
}  // namespace

struct CScratchValue::SlotTableOwner {
    ~SlotTableOwner() {
        delete t_table;
        t_table = nullptr;
        t_tableGone = true;
    }
};

CScratchValue::Slot* CScratchValue::LeaseSlowly(QxXmlLib10::ItemType kind) {
    if (t_table == nullptr && !t_tableGone) {
        t_table = new SlotTable;  // made on the thread's first value
        thread_local SlotTableOwner owner;
        return Lease(kind);
    }
    Slot* slot = new Slot;
    slot->nested = true;
    return slot;
}

}  // namespace detail
}  // namespace QxXmlLib10Data
