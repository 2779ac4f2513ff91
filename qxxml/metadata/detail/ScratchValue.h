// ScratchValue.h - the variant a descriptor reads one property into while writing (internal).
//
//   CScratchValue value(m_itemType);
//   ReadProperty(object, value.Get());       // an invalid variant, as a fresh one is
//   writer->WriteElementValue(value.Text(m_strFormatOverride), kind);
//
// Writing a document reads every member into a variant. A fresh variant per member would
// allocate for every string, decimal and date it carries; instead each thread keeps one
// variant per kind, cleared before each use, whose spare storage the next value of that kind
// fills (see QxVariant's spare). A nested use of the same kind on the same thread (a property
// accessor that itself writes XML) gets a variant of its own. The lease is released, and the
// value cleared, when the scratch value goes out of scope, so nothing read stays referenced.
// The value's text is built the same way, in a buffer leased with the variant that keeps its
// capacity from one value to the next: writing a number, a date or a decimal allocates
// nothing either.
#pragma once

#include <qxxml/values/ItemType.h>
#include <qxxml/values/QxVariant.h>

#include <string>

namespace QxXmlLib10Data {
namespace detail {

class CScratchValue {
public:
    explicit CScratchValue(QxXmlLib10::ItemType kind) : m_slot(Lease(kind)) {
        // The value is written out before the member can change.
        m_slot->value.AllowStringReferences(true);
    }
    ~CScratchValue() {
        Slot& slot = *m_slot;
        slot.value.SetInvalid();  // the payload becomes the variant's spare
        slot.value.m_bNil = false;  // as a fresh variant
        if (slot.nested)
            delete m_slot;
        else
            slot.busy = false;
    }
    CScratchValue(const CScratchValue&) = delete;
    CScratchValue& operator=(const CScratchValue&) = delete;

    QxXmlLib10::QxVariant& Get() { return m_slot->value; }

    // The text of the value (QxVariant::ToString): a string's own characters, any other
    // kind's in the leased buffer. Valid until the next call or the end of the lease.
    const std::wstring& Text(const std::wstring& format) {
        QxXmlLib10::QxVariant& value = m_slot->value;
        if (value.GetTypeAsEnum() == QxXmlLib10::ItemType_string) return value.GetStringRef();
        std::wstring& text = m_slot->text;
        text.clear();
        value.AppendText(text, format.c_str());
        return text;
    }

private:
    struct Slot {
        QxXmlLib10::QxVariant value;
        std::wstring text;
        bool busy = false;
        bool nested = false;  // a slot of its own, for a nested use: deleted with the lease
    };
    static constexpr int kKinds = QxXmlLib10::ItemType_XmlCollection + 1;  // every kind
    struct SlotTable {
        Slot slots[kKinds];
    };

    // The thread's slot for the kind, or a fresh one for a kind the table does not hold or a
    // slot already leased. The table is reached through a plain pointer, which costs one
    // thread-local access per value: a table held by value would add an initialisation check.
    static Slot* Lease(QxXmlLib10::ItemType kind) {
        SlotTable* table = t_table;
        if (table != nullptr && kind >= 0 && kind < kKinds) {
            Slot& slot = table->slots[kind];
            if (!slot.busy) {
                slot.busy = true;
                return &slot;
            }
        }
        return LeaseSlowly(kind);
    }
    static Slot* LeaseSlowly(QxXmlLib10::ItemType kind);

    static thread_local SlotTable* t_table;
    struct SlotTableOwner;  // frees the table when the thread ends

    Slot* m_slot;
};

}  // namespace detail
}  // namespace QxXmlLib10Data
