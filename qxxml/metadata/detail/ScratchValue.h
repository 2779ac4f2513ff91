// ScratchValue.h - the variant a descriptor reads one property into while writing (internal).
//
//   CScratchValue value(m_itemType);
//   ReadProperty(object, value.Get());       // an invalid variant, as a fresh one is
//   ... value.Get().ToString(...) ...
//
// Writing a document reads every member into a variant. A fresh variant per member would
// allocate for every string, decimal and date it carries; instead each thread keeps one
// variant per kind, cleared before each use, whose spare storage the next value of that kind
// fills (see QxVariant's spare). A nested use of the same kind on the same thread (a property
// accessor that itself writes XML) gets a variant of its own. The lease is released, and the
// value cleared, when the scratch value goes out of scope, so nothing read stays referenced.
#pragma once

#include <qxxml/values/ItemType.h>
#include <qxxml/values/QxVariant.h>

namespace QxXmlLib10Data {
namespace detail {

class CScratchValue {
public:
    explicit CScratchValue(QxXmlLib10::ItemType kind) {
        Slot* slot = SlotFor(kind);
        if (slot && !slot->busy) {
            slot->busy = true;
            m_slot = slot;
            m_value = &slot->value;
        } else {
            m_value = &m_own;
        }
    }
    ~CScratchValue() {
        m_value->SetInvalid();  // the payload becomes the variant's spare
        m_value->m_bNil = false;  // as a fresh variant
        if (m_slot) m_slot->busy = false;
    }
    CScratchValue(const CScratchValue&) = delete;
    CScratchValue& operator=(const CScratchValue&) = delete;

    QxXmlLib10::QxVariant& Get() { return *m_value; }

private:
    struct Slot {
        QxXmlLib10::QxVariant value;
        bool busy = false;
    };
    static Slot* SlotFor(QxXmlLib10::ItemType kind) {
        static thread_local Slot slots[QxXmlLib10::ItemType_integer + 1];
        return kind >= 0 && kind <= QxXmlLib10::ItemType_integer ? &slots[kind] : nullptr;
    }

    Slot* m_slot = nullptr;
    QxXmlLib10::QxVariant* m_value = nullptr;
    QxXmlLib10::QxVariant m_own;  // the nested case
};

}  // namespace detail
}  // namespace QxXmlLib10Data
