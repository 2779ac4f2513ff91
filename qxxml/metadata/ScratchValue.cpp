#include <qxxml/metadata/detail/ScratchValue.h>

namespace QxXmlLib10Data {
namespace detail {

thread_local CScratchValue::SlotTable* CScratchValue::t_table = nullptr;

namespace {

// Frees the thread's table when the thread ends. A value written later in the thread's end
// (by another thread-local object's destructor) gets a slot of its own.
thread_local bool t_tableGone = false;

template <typename Table>
struct CTableOwner {
    Table*& table;
    ~CTableOwner() {
        delete table;
        table = nullptr;
        t_tableGone = true;
    }
};

}  // namespace

CScratchValue::Slot* CScratchValue::LeaseSlowly(QxXmlLib10::ItemType kind) {
    if (t_table == nullptr && !t_tableGone) {
        // Made on the thread's first value.
        t_table = new SlotTable;
        thread_local CTableOwner<SlotTable> owner{t_table};
        if (kind >= 0 && kind < kKinds) {
            t_table->slots[kind].busy = true;
            return &t_table->slots[kind];
        }
    }
    Slot* slot = new Slot;
    slot->nested = true;
    return slot;
}

}  // namespace detail
}  // namespace QxXmlLib10Data
