// DocumentStorage.h - what a CXmlDocument keeps besides its tree (internal).
//
// The nodes of the tree come from two pools, and every name, namespace URI and prefix is
// interned once per document: elements and attributes point at the shared string (the
// process-wide one when a descriptor registered the name, see NameRegistry.h). The
// parser hands names over as UTF-8 "uri|local" strings; `parserNames` remembers the split
// and converted form of each one, so a name is converted once per document, not once per
// occurrence.
#pragma once

#include <qxxml/xmlin/XmlDocument.h>
#include <qxxml/xmlin/detail/NodePool.h>
#include <qxxml/xmlin/detail/StringTable.h>
#include <qxxml/xmlin/detail/TextArena.h>

#include <cstdint>
#include <deque>
#include <string>
#include <unordered_map>
#include <vector>

namespace QxXmlLib10 {

namespace detail {

// The split and converted form of one parser name. Names of a document come in a repeating
// order (an item's members, then the next item), so each remembers the two names that
// followed it last (an optional member makes two): the reader tries those first, with a
// comparison each.
struct ParserName {
    const std::string* key = nullptr;  // the parser's name
    const std::wstring* namespaceUri = nullptr;
    const std::wstring* localName = nullptr;
    ParserName* next = nullptr;   // the name that followed last
    ParserName* other = nullptr;  // the one that followed before, when it was another
};

}  // namespace detail

struct CXmlDocument::Storage {
    detail::NodePool<CXmlElement> elements;
    detail::NodePool<CXmlAttribute> attributes;
    detail::TextArena text;
    std::unordered_map<const CXmlElement*, std::wstring> madeTexts;
    // Each text -> the string the tree's nodes point at: the registered one or the key.
    detail::StringTable<wchar_t, const std::wstring*> strings;
    detail::StringTable<char, detail::ParserName*> parserNames;
    std::deque<detail::ParserName> parserNameForms;  // never moves what it holds
    // For each depth of the element stack, the previous sibling of the open element there
    // (null for a first child): an element that the filter drops is always its parent's
    // last child, and this detaches it without walking the sibling chain.
    std::vector<CXmlElement*> previousSibling;
    // For each depth, where the text storage stood when the open element there started.
    std::vector<detail::TextArena::Mark> textMark;
    // Nodes made during a load and not counted by the instance monitor yet: they are counted
    // in bulk (CXmlDocument::CountNewNodes) before anything can look at the counts or
    // destroy one of them.
    int32_t uncountedElements = 0;
    int32_t uncountedAttributes = 0;

    // Forgets every interned string and gives the pools' blocks back. The nodes must be
    // destroyed first.
    void Reset() {
        elements.Release();
        attributes.Release();
        text.Release();
        madeTexts.clear();
        strings.Clear();
        parserNames.Clear();
        parserNameForms.clear();
        previousSibling.clear();
        textMark.clear();
    }
};

}  // namespace QxXmlLib10
