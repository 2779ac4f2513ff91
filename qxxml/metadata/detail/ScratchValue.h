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
    explicit CScratchValue(QxXmlLib10::ItemType kind) {
        Slot* slot = SlotFor(kind);
        if (slot && !slot->busy) {
            slot->busy = true;
            m_slot = slot;
            m_value = &slot->value;
        } else {
            m_value = &m_own;
        }
        // The value is written out before the member can change.
        m_value->AllowStringReferences(true);
    }
    ~CScratchValue() {
        m_value->SetInvalid();  // the payload becomes the variant's spare
        m_value->m_bNil = false;  // as a fresh variant
        if (m_slot) m_slot->busy = false;
    }
    CScratchValue(const CScratchValue&) = delete;
    CScratchValue& operator=(const CScratchValue&) = delete;

    QxXmlLib10::QxVariant& Get() { return *m_value; }

    // The text of the value (QxVariant::ToString): a string's own characters, any other
    // kind's in the leased buffer. Valid until the next call or the end of the lease.
    const std::wstring& Text(const std::wstring& format) {
        if (m_value->GetTypeAsEnum() == QxXmlLib10::ItemType_string) return m_value->GetStringRef();
        std::wstring& text = m_slot ? m_slot->text : m_ownText;
        text.clear();
        m_value->AppendText(text, format.c_str());
        return text;
    }

private:
    struct Slot {
        QxXmlLib10::QxVariant value;
        std::wstring text;
        bool busy = false;
    };
    static Slot* SlotFor(QxXmlLib10::ItemType kind) {
        static thread_local Slot slots[QxXmlLib10::ItemType_integer + 1];
        return kind >= 0 && kind <= QxXmlLib10::ItemType_integer ? &slots[kind] : nullptr;
    }

    Slot* m_slot = nullptr;
    QxXmlLib10::QxVariant* m_value = nullptr;
    QxXmlLib10::QxVariant m_own;  // the nested case
    std::wstring m_ownText;
};

}  // namespace detail
}  // namespace QxXmlLib10Data
