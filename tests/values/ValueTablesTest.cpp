// The value classes against the case tables in tests/values/data: each row names an
// operation, gives its arguments and the text the operation must give back, or the message of
// the exception it must throw. Rules a table row says best live there; this file only knows
// how to call each operation.
//
// Rows: operation <tab> argument... <tab> expected, with \t \r \n \\ escapes in the texts; an
// argument "(null)" of a text parameter is a null pointer. The expected text "=" is the first
// argument itself; an exception reads as qxxml_test::FailureText writes it ("!value message").
#include <qxxml/collections/XmlCollectionBase.h>
#include <qxxml/core/XmlObjectBase.h>
#include <qxxml/support/QxException.h>
#include <qxxml/values/BigInteger.h>
#include <qxxml/values/BinaryData.h>
#include <qxxml/values/DateTime.h>
#include <qxxml/values/DateTimeSpan.h>
#include <qxxml/values/Decimal.h>
#include <qxxml/values/FormatString.h>
#include <qxxml/values/PatternMatcher.h>
#include <qxxml/values/QxVariant.h>
#include <qxxml/values/StringFormatting.h>
#include <qxxml/values/WhitespaceUtils.h>

#include "common/CaseTable.h"
#include "common/CountedObject.h"
#include "common/ExpatOracle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

using namespace QxXmlLib10;

namespace {

using DT = CDateTime;
using Args = std::vector<std::wstring>;
using Operation = std::function<std::wstring(const Args&)>;

long long Int(const std::wstring& text) { return std::stoll(text); }
template <class Number>
std::wstring Text(Number n) { return std::to_wstring(n); }
std::wstring Bool(bool b) { return b ? L"true" : L"false"; }
std::wstring Exact(double d) {  // every double its own text
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", d);
    return qxxml_test::Widen(text);
}

const wchar_t* Arg(const std::wstring& text) { return text == L"(null)" ? nullptr : text.c_str(); }
CBinaryData Binary(const std::wstring& text) { return qxxml_test::BinaryOf(qxxml_test::Narrow(text)); }
uint32_t Index(const std::wstring& text) { return static_cast<uint32_t>(Int(text)); }

bool IsSpan(const std::wstring& text) { return text.rfind(L"P", 0) == 0 || text.rfind(L"-P", 0) == 0; }
CDateTimeSpan Span(const std::wstring& text) {
    CDateTimeSpan span;
    span.ParseXSDDuration(Arg(text));
    return span;
}
// A date or time value, read by the reader its form calls for.
DT Value(const std::wstring& text) {
    DT value;
    if (text.find(L'T') != std::wstring::npos)
        value.ParseXSDDateTime(text.c_str());
    else if (text.size() > 2 && text[2] == L':')
        value.ParseXSDTime(text.c_str());
    else
        value.ParseXSDDate(text.c_str());
    return value;
}
DT::DTType KindNamed(const std::wstring& name) {
    for (int kind = DT::dt_yearZero; kind <= DT::dt_gMonthDay; ++kind)
        if (name == DT::GetTypeName(static_cast<DT::DTType>(kind))) return static_cast<DT::DTType>(kind);
    throw std::invalid_argument("no date kind " + qxxml_test::Narrow(name));
}
using Ints = std::vector<int>;
Ints Numbers(const std::wstring& text) {
    Ints numbers;
    for (const std::string& word : qxxml_test::Words(qxxml_test::Narrow(text))) numbers.push_back(std::stoi(word));
    return numbers;
}
std::wstring CompareName(int result) { return std::vector<std::wstring>{L"EQ", L"LT", L"GT", L"IND"}.at(result); }

template <void (DT::*Parse)(const wchar_t*)>
std::wstring Parsed(const Args& a) {
    DT value;
    (value.*Parse)(Arg(a[0]));
    return value.ToString();
}

// The value of the first argument copied to the kind the second names, then validated or not.
template <bool validate>
std::wstring Copied(const Args& a) {
    DT copy;
    copy.SetDateTime(Value(a[0]), KindNamed(a.at(1)));
    if (validate) copy.Validate();
    return copy.ToString();
}

// The operation's text, or its exception as the tables write it.
std::wstring Outcome(const Operation& operation, const Args& args) {
    try {
        return operation(args);
    } catch (const CQxException& e) {
        return qxxml_test::FromUtf8(qxxml_test::FailureText(e));
    }
}

// What `state` gives after `change`, after the message when the change is refused.
std::wstring AfterChange(const std::function<void()>& change, const std::function<std::wstring()>& state) {
    const std::wstring refusal = Outcome([&](const Args&) { return change(), std::wstring(); }, Args());
    return (refusal.empty() ? L"" : refusal + L" | ") + state();
}

// Compound division of a copy of the first argument: the copy afterwards (a refusal leaves it
// unchanged).
std::wstring Divided(const Args& a) {
    CBigInteger x(a[0].c_str());
    const CBigInteger y(static_cast<long long>(Int(a.at(2))));  // the divisor from a native integer
    return AfterChange([&] { a[1] == L"/=" ? x /= y : x %= y; }, [&] { return x.ToString(); });
}

// A binary value holding "old", set from the text: its base64 form afterwards, "(empty)" for
// an empty value however it came about (a refused text, like none, leaves one).
template <void (CBinaryData::*Set)(const wchar_t*)>
std::wstring BinarySet(const Args& a) {
    CBinaryData bytes = qxxml_test::BinaryOf("old");
    return AfterChange([&] { (bytes.*Set)(Arg(a[0])); }, [&] {
        return bytes.GetData() == nullptr && bytes == CBinaryData() ? L"(empty)" : bytes.GetAsBase64();
    });
}

// A script of steps on values named by one letter, "a.SetI4 3; a.kind; b=a; c(b); b.nil":
// "b=a" assigns, "b<a" move-assigns, "c(b)" copy-constructs and "c{b" move-constructs (both
// destroy the c there was), "x.Step argument" calls. Steps that observe give text; those that
// change give none unless they throw. The texts, exceptions written as the tables write them,
// joined by " | ", are the script's result: a step that throws does not end the script.
template <class Value>
using Steps = std::map<std::string, std::function<std::wstring(Value&, const std::wstring&)>>;

template <class Value>
std::function<std::wstring(Value&, const std::wstring&)> Change(void (*f)(Value&, const std::wstring&)) {
    return [f](Value& v, const std::wstring& arg) { return f(v, arg), std::wstring(); };
}

template <class Value>
std::wstring Script(const Steps<Value>& steps, const std::wstring& text) {
    std::map<char, Value> values;
    std::wstring results;
    std::istringstream script(qxxml_test::ToUtf8(text));
    for (std::string step; std::getline(script >> std::ws, step, ';');) {
        const std::string name = step.substr(2, step.find(' ') - 2);
        const std::wstring arg = step.find(' ') == std::string::npos ? L"" : qxxml_test::FromUtf8(step.substr(step.find(' ') + 1));
        const std::wstring result = Outcome(
            [&](const Args&) {
                if (step[1] == '=') values[step[0]] = values.at(step[2]);
                if (step[1] == '<') values[step[0]] = std::move(values.at(step[2]));
                if (step[1] == '(') values.erase(step[0]), values.emplace(step[0], values.at(step[2]));
                if (step[1] == '{') values.erase(step[0]), values.emplace(step[0], std::move(values.at(step[2])));
                return step[1] == '.' ? steps.at(name)(values[step[0]], arg) : std::wstring();
            },
            Args());
        if (!result.empty()) results += (results.empty() ? L"" : L" | ") + result;
    }
    return results;
}

// The string variants refer to, and the objects they hold, counting their destructions.
const std::wstring& Member() {
    static const std::wstring member = L"member text";
    return member;
}
std::atomic<int>& Destroyed() {
    static std::atomic<int> destroyed{0};
    return destroyed;
}

std::wstring VariantScript(const Args& a) {
    using S = const std::wstring&;
    const auto change = &Change<QxVariant>;
    static const Steps<QxVariant> steps = {
        {"kind", [](QxVariant& v, const std::wstring&) { return Text(static_cast<int>(v.GetTypeAsEnum())); }},
        {"nil", [](QxVariant& v, const std::wstring&) { return Bool(v.IsNil()); }},
        {"valid", [](QxVariant& v, const std::wstring&) { return Bool(v.IsValid()); }},
        {"pString", [](QxVariant& v, const std::wstring&) { return std::wstring(v.m_pString ? L"set" : L"null"); }},
        {"type", [](QxVariant& v, const std::wstring&) { return v.GetType(); }},
        {"text", [](QxVariant& v, const std::wstring&) { return v.ToString(nullptr); }},
        {"GetI1", [](QxVariant& v, const std::wstring&) { return Text(static_cast<int>(v.GetI1())); }},
        {"GetI2", [](QxVariant& v, const std::wstring&) { return Text(v.GetI2()); }},
        {"GetI4", [](QxVariant& v, const std::wstring&) { return Text(v.GetI4()); }},
        {"GetI8", [](QxVariant& v, const std::wstring&) { return Text(v.GetI8()); }},
        {"GetUI2", [](QxVariant& v, const std::wstring&) { return Text(v.GetUI2()); }},
        {"GetUI8", [](QxVariant& v, const std::wstring&) { return Text(v.GetUI8()); }},
        {"GetString", [](QxVariant& v, const std::wstring&) { return v.GetString(); }},
        {"GetDecimal", [](QxVariant& v, const std::wstring&) { return v.GetDecimal().ToString(); }},
        {"GetInteger", [](QxVariant& v, const std::wstring&) { return v.GetInteger().ToString(); }},
        {"GetDateTime", [](QxVariant& v, const std::wstring&) { return v.GetDateTime().ToString(); }},
        {"GetXmlObject", [](QxVariant& v, const std::wstring&) { return Bool(v.GetXmlObject().Get() != nullptr); }},
        {"GetXmlCollection", [](QxVariant& v, const std::wstring&) { return Bool(v.GetXmlCollection().Get() != nullptr); }},
        {"SetI2", change([](QxVariant& v, const std::wstring& n) { v.SetI2(static_cast<int16_t>(Int(n))); })},
        {"SetI4", change([](QxVariant& v, const std::wstring& n) { v.SetI4(static_cast<int32_t>(Int(n))); })},
        {"SetUI8", change([](QxVariant& v, const std::wstring& n) { v.SetUI8(static_cast<uint64_t>(Int(n))); })},
        {"SetYear", change([](QxVariant& v, const std::wstring& n) { v.SetYear(static_cast<uint16_t>(Int(n))); })},
        {"SetString", change([](QxVariant& v, const std::wstring& text) { v.SetString(std::wstring(text)); })},
        {"SetRepeated", change([](QxVariant& v, const std::wstring& n) { v.SetString(std::wstring(Int(n), L'x')); })},
        {"SetDecimal", change([](QxVariant& v, const std::wstring& text) { v.SetDecimal(CDecimal(text.c_str())); })},
        {"SetDate", change([](QxVariant& v, const std::wstring& text) { v.SetDate(DT(text.c_str())); })},
        {"SetXmlObject", change([](QxVariant& v, const std::wstring&) { v.SetXmlObject(nullptr); })},
        {"SetXmlCollection", change([](QxVariant& v, const std::wstring&) { v.SetXmlCollection(nullptr); })},
        // Held objects: their references, and the number destroyed since the last time asked.
        {"SetCountedObject", change([](QxVariant& v, S) { v.SetXmlObject(new qxxml_test::CCountedObject(Destroyed())); })},
        {"SetCountedCollection",
         change([](QxVariant& v, S) { v.SetXmlCollection(new qxxml_test::CCountedCollection(Destroyed())); })},
        {"SetSameObject", change([](QxVariant& v, S) {  // with no reference but the variant's own
             CXmlObjectBase* object = v.GetXmlObject().Get();
             v.SetXmlObject(object);
         })},
        {"refs", [](QxVariant& v, S) {
             CXmlObjectBase* object = v.GetXmlObject().Get();
             object->AddRef();
             return Text(object->Release());
         }},
        {"sameObject", [](QxVariant& v, S) { return Bool(v.GetXmlObject().Get() == v.GetXmlCollection().Get()); }},
        {"destroyed", [](QxVariant&, S) { return Text(Destroyed().exchange(0)); }},
        // A referred string: Member(), whose text no change of a variant may reach.
        {"AllowStringReferences", change([](QxVariant& v, S) { v.AllowStringReferences(true); })},
        {"SetStringReference", change([](QxVariant& v, S) { v.SetStringReference(Member()); })},
        {"refersToMember", [](QxVariant& v, S) { return Bool(&v.GetStringRef() == &Member()); }},
        {"member", [](QxVariant&, S) { return Member(); }},
        {"TakeStringInto", [](QxVariant& v, S) {
             std::wstring taken = L"old";
             v.TakeStringInto(taken);
             return taken;
         }},
        {"SetNil", change([](QxVariant& v, const std::wstring&) { v.SetNil(); })},
        {"Clear", change([](QxVariant& v, const std::wstring&) { v.Clear(); })},
        {"SetInvalid", change([](QxVariant& v, const std::wstring&) { v.SetInvalid(); })},
        {"SetType", change([](QxVariant& v, const std::wstring& n) { v.m_type = static_cast<ItemType>(Int(n)); })},  // corrupts
        // "kind:text", the kind by number, read with the collapse rule.
        {"FromString", change([](QxVariant& v, const std::wstring& arg) {
             v.FromString(arg.substr(arg.find(L':') + 1), static_cast<ItemType>(Int(arg)),
                          CWhitespaceUtils::WhitespaceRule_Collapse);
         })},
    };
    return Script(steps, a[0]);
}

// Scripts on binary values, whose bytes are ASCII text here: "mark" remembers where a value
// keeps its bytes, "atMark" says whether another keeps them there too (shares them).
std::wstring BinaryScript(const Args& a) {
    using S = const std::wstring&;
    const auto change = &Change<CBinaryData>;
    static const unsigned char* mark = nullptr;
    static const Steps<CBinaryData> steps = {
        {"set", change([](CBinaryData& v, S text) { v = Binary(text); })},
        {"Append", change([](CBinaryData& v, S text) {  // as an array and its length
             const CBinaryData bytes = Binary(text);
             v.Append(bytes.GetData(), bytes.GetLength());
         })},
        {"AppendCopyOf", change([](CBinaryData& v, S text) { v.Append(Binary(text)); })},
        {"AppendItself", change([](CBinaryData& v, S) { v.Append(v); })},
        {"AppendNull", change([](CBinaryData& v, S n) { v.Append(static_cast<const unsigned char*>(nullptr), Index(n)); })},
        {"AppendSpace", change([](CBinaryData& v, S text) {  // written in place
             const CBinaryData bytes = Binary(text);
             std::memcpy(v.AppendSpace(bytes.GetLength()), bytes.GetData(), bytes.GetLength());
         })},
        {"Truncate", change([](CBinaryData& v, S n) { v.Truncate(Index(n)); })},
        {"SetBufferFromItself", change([](CBinaryData& v, S n) { v.SetBuffer(v.GetData() + Int(n), 2); })},  // 2 bytes
        {"Clear", change([](CBinaryData& v, S) { v.Clear(); })},
        {"adopt", change([](CBinaryData& v, S text) {  // a new[] array of the bytes, which becomes the mark
             const CBinaryData bytes = Binary(text);
             unsigned char* array = new unsigned char[bytes.GetLength() + 1];
             std::copy_n(bytes.GetData(), bytes.GetLength(), array);
             mark = array;
             v = CBinaryData(array, bytes.GetLength(), /*adopt=*/true);
         })},
        {"FromNullArray", change([](CBinaryData& v, S adopt) { v = CBinaryData(nullptr, 7, adopt == L"adopt"); })},
        {"ReleaseData", [](CBinaryData& v, S) {  // the bytes handed over, and whether they were at the mark
             const uint32_t length = v.GetLength();
             const std::unique_ptr<unsigned char[]> bytes(v.ReleaseData());
             const std::string text(reinterpret_cast<const char*>(bytes.get()), bytes ? length : 0);
             return bytes ? qxxml_test::Widen(text) + (bytes.get() == mark ? L" at the mark" : L" elsewhere") : L"null";
         }},
        {"mark", change([](CBinaryData& v, S) { mark = v.GetData(); })},
        {"atMark", [](CBinaryData& v, S) { return Bool(v.GetData() == mark); }},
        {"at", [](CBinaryData& v, S n) { return Text(std::as_const(v)[Index(n)]); }},
        {"bytes", [](CBinaryData& v, S) { return L"[" + qxxml_test::Widen(qxxml_test::Bytes(v)) + L"]"; }},
        {"null", [](CBinaryData& v, S) { return Bool(v.GetData() == nullptr); }},
    };
    return Script(steps, a[0]);
}

SYSTEMTIME SystemTimeOf(const Ints& n) {  // year month day [hour minute second milliseconds]
    const auto u = [&](size_t i) { return static_cast<uint16_t>(i < n.size() ? n[i] : 0); };
    return SYSTEMTIME{u(0), u(1), 0, u(2), u(3), u(4), u(5), u(6)};
}

// A setter given the numbers of the step's argument, "2024 5 6".
std::function<std::wstring(DT&, const std::wstring&)> WithNumbers(void (*set)(DT&, const Ints&)) {
    return [set](DT& d, const std::wstring& text) { return set(d, Numbers(text)), std::wstring(); };
}

// Scripts on dates and times: "read" takes the reader the text's form calls for, "=" assigns
// seconds since 1970, the From steps construct anew, "text" is the canonical form.
std::wstring DateScript(const Args& a) {
    using S = const std::wstring&;
    using N = const Ints&;
    const auto change = &Change<DT>;
    static const Steps<DT> steps = {
        {"new", change([](DT& d, S kind) { d = DT(KindNamed(kind)); })},
        {"read", change([](DT& d, S text) { d = Value(text); })},
        {"FromNumbers", WithNumbers([](DT& d, N n) {  // a date, or a date-time with its fraction
             d = n.size() > 3 ? DT(n[0], n[1], n[2], n[3], n[4], n[5], n[6], n[7], n.at(8)) : DT(n.at(0), n.at(1), n.at(2));
         })},
        {"ParseXSDDate", change([](DT& d, S text) { d.ParseXSDDate(text.c_str()); })},
        {"text", [](DT& d, S) { return d.ToString(); }},
        {"GetYear", [](DT& d, S) { return Text(d.GetYear()); }},
        {"GetMonth", [](DT& d, S) { return Text(d.GetMonth()); }},
        {"GetHour", [](DT& d, S) { return Text(d.GetHour()); }},
        {"GetSecond", [](DT& d, S) { return Text(d.GetSecond()); }},
        {"GetMilliSecond", [](DT& d, S) { return Text(d.GetMilliSecond()); }},
        {"GetMicroSecond", [](DT& d, S) { return Text(d.GetMicroSecond()); }},
        {"GetNanoSecond", [](DT& d, S) { return Text(d.GetNanoSecond()); }},
        {"GetRealSecond", [](DT& d, S) { return Exact(d.GetRealSecond()); }},
        {"GetDayOfWeek", [](DT& d, S) { return Text(d.GetDayOfWeek()); }},
        {"GetDayOfYear", [](DT& d, S) { return Text(d.GetDayOfYear()); }},
        {"GetTime", [](DT& d, S) { return Text(d.GetTime()); }},
        {"GetZoneHour", [](DT& d, S) { return Text(d.GetZoneHour()); }},
        {"GetZoneMinute", [](DT& d, S) { return Text(d.GetZoneMinute()); }},
        {"IsUTC", [](DT& d, S) { return Bool(d.IsUTC()); }},
        {"HasTimeZone", [](DT& d, S) { return Bool(d.HasTimeZone()); }},
        {"GetTypeAsString", [](DT& d, S) { return d.GetTypeAsString(); }},
        {"GetNormalized", [](DT& d, S) { return d.GetNormalized().ToString(); }},
        {"GetAsSystemTime", [](DT& d, S) {
             const SYSTEMTIME t = d.GetAsSystemTime();
             return qxxml_test::Widen(testing::PrintToString(std::vector<int>{
                 t.wYear, t.wMonth, t.wDayOfWeek, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds}));
         }},
        {"Validate", change([](DT& d, S) { d.Validate(); })},
        {"SetYear", change([](DT& d, S n) { d.SetYear(static_cast<short>(Int(n))); })},
        {"SetMonth", change([](DT& d, S n) { d.SetMonth(static_cast<unsigned char>(Int(n))); })},
        {"SetDay", change([](DT& d, S n) { d.SetDay(static_cast<unsigned char>(Int(n))); })},
        {"SetMinute", change([](DT& d, S n) { d.SetMinute(static_cast<unsigned char>(Int(n))); })},
        {"SetMicroSecond", change([](DT& d, S n) { d.SetMicroSecond(static_cast<unsigned short>(Int(n))); })},
        {"SetDate", WithNumbers([](DT& d, N n) { d.SetDate(n.at(0), n.at(1), n.at(2)); })},
        {"SetGYear", WithNumbers([](DT& d, N n) { d.SetGYear(n.at(0)); })},
        {"SetGMonthDay", WithNumbers([](DT& d, N n) { d.SetGMonthDay(n.at(0), n.at(1)); })},
        {"SetFracTime", WithNumbers([](DT& d, N n) { d.SetFracTime(n.at(0), n.at(1), n.at(2)); })},
        {"SetTime", WithNumbers([](DT& d, N n) {  // with or without the fraction
             n.size() > 3 ? d.SetTime(n[0], n[1], n[2], n[3], n[4], n.at(5)) : d.SetTime(n.at(0), n.at(1), n.at(2));
         })},
        {"SetDateTime", WithNumbers([](DT& d, N n) {
             n.size() > 6 ? d.SetDateTime(n[0], n[1], n[2], n[3], n[4], n[5], n[6], n[7], n.at(8))
                          : d.SetDateTime(n.at(0), n.at(1), n.at(2), n.at(3), n.at(4), n.at(5));
         })},
        {"SetTimeZone", WithNumbers([](DT& d, N n) { d.SetTimeZone(n.at(0), n.at(1)); })},
        {"SetUTC", change([](DT& d, S) { d.SetUTC(); })},
        {"=", change([](DT& d, S n) { d = Int(n); })},
        {"=SYSTEMTIME", WithNumbers([](DT& d, N n) { d = SystemTimeOf(n); })},
        {"FromSYSTEMTIME", WithNumbers([](DT& d, N n) { d = DT(SystemTimeOf(n)); })},
        {"FromFILETIME", change([](DT& d, S n) {  // 100 ns ticks since 1601-01-01T00:00:00Z
             const unsigned long long ticks = std::stoull(n);
             d = DT(FILETIME{static_cast<uint32_t>(ticks), static_cast<uint32_t>(ticks >> 32)});
         })},
    };
    return Script(steps, a[0]);
}

const std::map<std::string, Operation>& Operations() {
    static const std::map<std::string, Operation> operations = {
        // Dates, times and durations (their fields and setters: the Date script).
        {"ParseXSDDate", Parsed<&DT::ParseXSDDate>},
        {"ParseXSDTime", Parsed<&DT::ParseXSDTime>},
        {"ParseXSDDateTime", Parsed<&DT::ParseXSDDateTime>},
        {"ParseXSDDuration", [](const Args& a) { return Span(a[0]).ToString(); }},
        {"ToString", [](const Args& a) { return Value(a[0]).ToString(Arg(a.at(1))); }},
        {"Unset", [](const Args& a) { return a.size() > 1 ? DT(KindNamed(a[0])).ToString(Arg(a[1])) : DT(KindNamed(a[0])).ToString(); }},
        {"FromTime", [](const Args& a) { return DT(Int(a[0])).ToString(); }},
        {"CopyAs", Copied<false>},
        {"CopyAndValidate", Copied<true>},
        {"+", [](const Args& a) { return (Value(a[0]) + Span(a.at(1))).ToString(); }},
        {"-", [](const Args& a) {
             return IsSpan(a.at(1)) ? (Value(a[0]) - Span(a[1])).ToString() : (Value(a[0]) - Value(a[1])).ToString();
         }},
        {"CompareTo", [](const Args& a) {
             return CompareName(IsSpan(a[0]) ? Span(a[0]).CompareTo(Span(a.at(1))) : Value(a[0]).CompareTo(Value(a.at(1))));
         }},
        {"SpanFields", [](const Args& a) {
             const CDateTimeSpan s = Span(a[0]);
             std::wstring fields = s.IsNegative() ? L"-" : L"+";
             for (unsigned long long n : std::vector<unsigned long long>{
                      s.GetYears(), s.GetMonths(), s.GetDays(), s.GetHours(), s.GetMinutes(), s.GetSeconds(),
                      s.GetMilliSeconds(), s.GetMicroSeconds(), s.GetNanoSeconds()})
                 fields += L" " + Text(n);
             return fields;
         }},
        // Numbers.
        {"CDecimal", [](const Args& a) { return CDecimal(Arg(a[0])).ToString(); }},
        // An increment or decrement (++x, x++, --x, x--): what the expression gives, then the value.
        {"CDecimal.step", [](const Args& a) {
             CDecimal x(a[0].c_str());
             const std::wstring& step = a.at(1);
             const CDecimal given = step == L"++x" ? ++x : step == L"x++" ? x++ : step == L"--x" ? --x : x--;
             return given.ToString() + L" " + x.ToString();
         }},
        {"CDecimal.GetNegative", [](const Args& a) { return CDecimal(a[0].c_str()).GetNegative().ToString(); }},
        {"CDecimal.Negate", [](const Args& a) { CDecimal x(a[0].c_str()); x.Negate(); return x.ToString(); }},
        {"CDecimal(double)", [](const Args& a) { return CDecimal(std::stod(a[0])).ToString(); }},
        {"CDecimal.ToString", [](const Args& a) { return CDecimal(a[0].c_str()).ToString(static_cast<int>(Int(a.at(1)))); }},
        {"CDecimal.ToLong", [](const Args& a) { return Text(CDecimal(a[0].c_str()).ToLong()); }},
        {"CDecimal.ToLongLong", [](const Args& a) { return Text(CDecimal(a[0].c_str()).ToLongLong()); }},
        {"CDecimal.ToDouble", [](const Args& a) { return Exact(CDecimal(a[0].c_str()).ToDouble()); }},
        {"CDecimal.ToBigInteger", [](const Args& a) { return CDecimal(a[0].c_str()).ToBigInteger().ToString(); }},
        {"CDecimal/", [](const Args& a) { return (CDecimal(a[0].c_str()) / CDecimal(a.at(1).c_str())).ToString(); }},
        {"CBigInteger", [](const Args& a) { return CBigInteger(Arg(a[0])).ToString(); }},
        // The relations < <= == != > >=, 1 for those that hold.
        {"CBigInteger.relations", [](const Args& a) {
             const CBigInteger x(a[0].c_str()), y(a.at(1).c_str());
             return Text(x < y) + Text(x <= y) + Text(x == y) + Text(x != y) + Text(x > y) + Text(x >= y);
         }},
        {"CBigInteger.Divided", Divided},
        {"CBigInteger.limits", [](const Args&) {
             return CBigInteger::MAX_LONG.ToString() + L" " + CBigInteger::MIN_LONG.ToString() + L" " +
                    CBigInteger::MAX_LONGLONG.ToString() + L" " + CBigInteger::MIN_LONGLONG.ToString() + L" " +
                    CBigInteger::MAX_DOUBLE.ToString() + L" " + CBigInteger::MIN_DOUBLE.ToString();
         }},
        {"CBigInteger(CDecimal)", [](const Args& a) { return CBigInteger(CDecimal(a[0].c_str())).ToString(); }},
        {"CBigInteger.int", [](const Args& a) { return Text(static_cast<int>(CBigInteger(a[0].c_str()))); }},
        {"CBigInteger.longlong", [](const Args& a) { return Text(static_cast<long long>(CBigInteger(a[0].c_str()))); }},
        {"CBigInteger.GetAbs", [](const Args& a) { return CBigInteger(a[0].c_str()).GetAbs().ToString(); }},
        {"CBigInteger.GetNegative", [](const Args& a) { return CBigInteger(a[0].c_str()).GetNegative().ToString(); }},
        {"SquareRoot", [](const Args& a) { return CBigInteger(a[0].c_str()).SquareRoot().ToString(); }},
        {"Pow10", [](const Args& a) { return CBigInteger::Pow10(static_cast<int>(Int(a[0]))).ToString(); }},
        // Texts.
        {"SetAsHexString", BinarySet<&CBinaryData::SetAsHexString>},
        {"SetAsBase64", BinarySet<&CBinaryData::SetAsBase64>},
        // The byte at an index, read through the const operator and written ('z') through the other.
        {"CBinaryData[]", [](const Args& a) { const CBinaryData v = Binary(a[0]); return Text(v[Index(a.at(1))]); }},
        {"CBinaryData[]=", [](const Args& a) {
             CBinaryData v = Binary(a[0]);
             return AfterChange([&] { v[Index(a.at(1))] = 'z'; }, [&] { return L"[" + qxxml_test::Widen(qxxml_test::Bytes(v)) + L"]"; });
         }},
        {"CBinaryData==", [](const Args& a) { return Bool(Binary(a[0]) == Binary(a.at(1))); }},
        {"Preserve", [](const Args& a) { return CWhitespaceUtils::Preserve(Arg(a[0]), static_cast<int>(Int(a.at(1)))); }},
        {"TrimTrailingZeros", [](const Args& a) { return TrimTrailingZeros(a[0]); }},
        {"FormatFraction", [](const Args& a) {
             return FormatFraction(static_cast<unsigned short>(Int(a[0])), static_cast<unsigned short>(Int(a.at(1))),
                                   static_cast<unsigned short>(Int(a.at(2))));
         }},
        {"FormatString", [](const Args& a) { return FormatString(Arg(a[0])); }},
        {"Variant", VariantScript},
        {"Date", DateScript},
        {"Binary", BinaryScript},
        {"MatchesPattern", [](const Args& a) { return Bool(MatchesPattern(qxxml_test::ToUtf8(a[0]), a.at(1))); }},
    };
    return operations;
}

// An operation through QxVariant, which calls the CConversions pair of its kind, named
// "kind/rule" (the rule defaults to none); a second argument is the format it writes with.
Operation ConversionNamed(const std::string& name) {
    const size_t slash = name.find('/');
    const ItemType type = qxxml_test::ItemTypeNamed(name.substr(0, slash));  // fails the row when unknown
    const std::string ruleName = slash == std::string::npos ? "none" : name.substr(slash + 1);
    // Kept as a number until the call: 4, the unknown rule, is no value of the enumeration.
    const int rule = ruleName == "unknown" ? 4 : qxxml_test::WhitespaceRuleNamed(ruleName);
    return [type, rule](const Args& a) {
        QxVariant value;
        value.FromString(a[0], type, static_cast<CWhitespaceUtils::WhitespaceRule>(rule));
        if (value.GetType() != ItemTypeName(type)) return L"(read as " + value.GetType() + L")";
        const wchar_t* format = a.size() > 1 ? a[1].c_str() : nullptr;
        // The append form writers use must give the same text after what the buffer holds
        // (and fail the same way: it runs first).
        std::wstring appended = L"<";
        value.AppendText(appended, format);
        const std::wstring text = value.ToString(format);
        if (appended != L"<" + text) return L"(appended " + appended + L")";
        return text;
    };
}

std::wstring RunRow(const std::string& name, const Args& args) {
    const auto operation = Operations().find(name);
    return Outcome(operation != Operations().end() ? operation->second : ConversionNamed(name), args);
}

class ValueTables : public testing::TestWithParam<const char*> {};

TEST_P(ValueTables, EveryRow) {
    qxxml_test::ForEachRow("tests/values/data/" + std::string(GetParam()) + ".tsv", 0, [](const qxxml_test::Row& f) {
        Args args;
        for (size_t i = 1; i + 1 < f.size(); ++i) args.push_back(qxxml_test::FromUtf8(qxxml_test::Unescape(f[i])));
        const std::wstring expected = qxxml_test::FromUtf8(qxxml_test::Unescape(f.back()));
        EXPECT_EQ(RunRow(f[0], args), expected == L"=" ? args.at(0) : expected);
    });
}

INSTANTIATE_TEST_SUITE_P(Values, ValueTables, testing::Values("text_forms", "dates", "numbers", "texts", "variants"));

}  // namespace
