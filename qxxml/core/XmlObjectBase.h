// XmlObjectBase.h - CXmlObjectBase, the root of every object that becomes XML, and its entry
// points.
//
// Generated classes, collections and wildcard holders all derive from CXmlObjectBase. A user
// holds a root object through CSmartPtr and calls one entry point; the rest of the tree
// follows:
//
//   CSmartPtr<CPurchaseOrder> order(new CPurchaseOrder);
//   order->FromXmlFile(L"po.xml", CXmlSerializationContext::GetDefaultContext());
//   std::wstring text = order->ToXml(true, true, EOLType_LF,
//                                    CXmlSerializationContext::GetDefaultContext());
//   CBinaryData bytes = order->ToXmlStream(true, false, XmlEncoding_UTF8, EOLType_LF,
//                                          CXmlSerializationContext::GetDefaultContext(),
//                                          CompressionType_GZip);
//
// Objects are reference-counted: they start at 0 and are destroyed by the Release that
// brings the count back to 0 (CSmartPtr drives both). The protected helpers below are what
// generated property setters call (choice bookkeeping, null, element-name and namespace
// checks).
#pragma once

#include <qxxml/core/SerializationEnums.h>
#include <qxxml/support/Export.h>
#include <qxxml/support/SharedName.h>

#include <atomic>
#include <cstdint>
#include <string>

namespace QxXmlLib10 {

class CXmlObjectBase;
class CXmlCollectionBase;
class CXmlSerializationContext;
class CXmlWriter;
class CXmlElement;
class CElement;
class CBinaryData;

// Receiver of collection events.
class QXXML_API IEventSink {
public:
    enum MsgType {
        MsgType_CollectionChange = 0,          // data: null
        MsgType_CollectionAdd = 1,             // data: the item being added
        MsgType_CollectionAddComplete = 2,     // data: the item that was added
        MsgType_CollectionRemove = 3,          // data: int* index, or null for index -1
        MsgType_CollectionRemoveComplete = 4,  // data: int* index, or null for index -1
    };
    virtual void OnEvent(CXmlObjectBase* source, MsgType type, void* data) = 0;

protected:
    ~IEventSink() = default;
};

// Process-wide switches for overlapped file writing and reading (both off at start-up).
// Meant to be set once at start-up; the Is* forms report the current setting.
QXXML_API void AsyncToXmlFile(bool on);
QXXML_API void AsyncFromXmlFile(bool on);
QXXML_API bool IsAsyncToXmlFile();
QXXML_API bool IsAsyncFromXmlFile();

class QXXML_API CXmlObjectBase : public IEventSink {
public:
    // --- reference counting
    int32_t AddRef();
    int32_t Release();

    // The object that carries the element name (normally this object itself).
    virtual CXmlObjectBase* GetBase() = 0;
    const CXmlObjectBase* GetBase() const { return const_cast<CXmlObjectBase*>(this)->GetBase(); }

    // --- writing entry points
    virtual void ToXmlFile(const wchar_t* fileName, bool includeDocHeader, bool formatted,
                           XmlEncoding encoding, EOLType eol,
                           const CXmlSerializationContext& context,
                           CompressionType compression) const;
    virtual void ToFastInfosetFile(const wchar_t* fileName, FInfoDecl declaration,
                                   const CXmlSerializationContext& context,
                                   CompressionType compression) const;
    virtual std::wstring ToXml(bool includeDocHeader, bool formatted, EOLType eol,
                               const CXmlSerializationContext& context);
    virtual CBinaryData ToXmlStream(bool includeDocHeader, bool formatted, XmlEncoding encoding,
                                    EOLType eol, const CXmlSerializationContext& context,
                                    CompressionType compression);
    virtual CBinaryData ToFastInfosetStream(FInfoDecl declaration,
                                            const CXmlSerializationContext& context,
                                            CompressionType compression);

    // --- reading entry points
    virtual void FromXmlFile(const wchar_t* fileName, const CXmlSerializationContext& context);
    virtual void FromXml(const wchar_t* xmlText, const CXmlSerializationContext& context);
    virtual void FromXml(const char* xmlText, const CXmlSerializationContext& context);
    virtual void FromXmlStream(const CBinaryData& data, const CXmlSerializationContext& context);
    virtual void FromXmlStream(unsigned char* const data, uint32_t length,
                               const CXmlSerializationContext& context);
    virtual void FromXmlElement(const CElement* element, const CXmlSerializationContext& context);
    virtual void FromXmlElement(const CXmlElement* element, const CXmlSerializationContext& context);

    virtual ~CXmlObjectBase();

    virtual std::wstring GetNamespace() const = 0;

protected:
    CXmlObjectBase();
    CXmlObjectBase(const CXmlObjectBase& other);
    CXmlObjectBase& operator=(const CXmlObjectBase& other);

    void OnEvent(CXmlObjectBase* source, MsgType type, void* data) override;

    virtual std::wstring GetTargetNamespace() const = 0;
    virtual void AttributesToXml_Int(CXmlWriter* writer, const CXmlSerializationContext& context) const;
    virtual void ToXml_Int(CXmlWriter* writer, bool isRoot, const wchar_t* elementNamespace,
                           const CXmlSerializationContext& context, bool optionalChoiceItem) const = 0;
    virtual CXmlElement* FromXml_Int(CXmlElement* element, CXmlElement* firstChild,
                                     const CXmlSerializationContext& context,
                                     bool optionalChoiceItem) = 0;

    // --- element name
    std::wstring GetElementName() const { return *m_pElementName; }
    const std::wstring& ElementName() const { return *m_pElementName; }
    const SharedName& SharedElementName() const { return m_pElementName; }
    void SetElementName(const wchar_t* name);
    static void SetElementName(CXmlObjectBase* object, const wchar_t* name);

    // --- forwarders through which collections reach the protected virtuals of other objects
    static void ToXml_Int(const CXmlObjectBase* object, CXmlWriter* writer, bool isRoot,
                          const wchar_t* elementNamespace, const CXmlSerializationContext& context,
                          bool optionalChoiceItem);
    static CXmlElement* FromXml_Int(CXmlObjectBase* object, CXmlElement* element,
                                    CXmlElement* firstChild, const CXmlSerializationContext& context);
    // The same for a child read as an optional item of a choice.
    static CXmlElement* FromXml_Int(CXmlObjectBase* object, CXmlElement* element,
                                    CXmlElement* firstChild, const CXmlSerializationContext& context,
                                    bool optionalChoiceItem);
    static void AttributesToXml_Int(const CXmlObjectBase* object, CXmlWriter* writer,
                                    const CXmlSerializationContext& context);
    static std::wstring GetTargetNamespace(const CXmlObjectBase* object) {
        return object->GetTargetNamespace();
    }

    // --- collection events (sink must not be null)
    static void FireOnCollectionChangeEvent(IEventSink* sink, CXmlCollectionBase* collection);
    static void FireOnCollectionAddEvent(IEventSink* sink, CXmlCollectionBase* collection, void* item);
    static void FireOnCollectionAddCompleteEvent(IEventSink* sink, CXmlCollectionBase* collection, void* item);
    static void FireOnCollectionRemoveEvent(IEventSink* sink, CXmlCollectionBase* collection, int index);
    static void FireOnCollectionRemoveCompleteEvent(IEventSink* sink, CXmlCollectionBase* collection, int index);

    // --- helpers for generated property setters
    static void Choice_SelectElement(const wchar_t* name, CXmlObjectBase* newValue,
                                     std::wstring& validElement);
    static void Choice_CollectionChanged(const wchar_t* name, int32_t count, std::wstring& validElement);
    static void Choice_SetElementValid(bool valid, const wchar_t* name, std::wstring& validElement);
    static void Choice_Read_Collection(CXmlCollectionBase* collection, CXmlElement* element,
                                       CXmlElement*& cursor, int32_t& count,
                                       const CXmlSerializationContext& context);
    static void Throw_IfPropertyIsNull(CXmlObjectBase* value, const wchar_t* propertyName);
    static void Throw_IfElementNameDiffers(CXmlObjectBase* value, const wchar_t* requiredName);

    // The namespace-restriction test of wildcards; it needs no object state, so descriptors
    // and collections call it directly.
    static bool IsNamespaceValid(const wchar_t* namespaceUri, const wchar_t* restriction,
                                 const wchar_t* targetNamespace);
    static void TestNamespace(const wchar_t* namespaceUri, const wchar_t* restriction,
                              const wchar_t* targetNamespace);
    bool DoesElementNameMatch(const CXmlSerializationContext& context, const CXmlElement* element,
                              const wchar_t* localName, const wchar_t* namespaceUri) const;

private:
    static void Fire(IEventSink* sink, CXmlCollectionBase* collection, MsgType type, void* data);

    SharedName m_pElementName;  // never null; shared by the objects of the same name
    std::atomic<int32_t> m_refCount;
};

}  // namespace QxXmlLib10
