#include <qxxml/values/PatternMatcher.h>

#include <qxxml/support/QXCriticalSection.h>
#include <qxxml/support/QxException.h>
#include <qxxml/values/FormatString.h>
#include <qxxml/values/StringFormatting.h>
#include <qxxml/xmlout/UtfEncoding.h>

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <cstring>
#include <memory>
#include <unordered_map>

namespace QxXmlLib10 {

namespace {

// ---------------------------------------------------------------- translation

// An escaped backslash is parked on this byte while the XSD escapes are rewritten, so that
// "\\i" (a backslash followed by the letter i) is not taken for the escape "\i".
const char kParkedBackslashes[] = "\x01";

struct Rewrite {
    const char* xsd;
    const char* pcre;
};

// XML name characters: \i starts a name, \c continues one; \I and \C are their complements.
const Rewrite kNameEscapes[] = {
    {"\\i", "([^\\W\\d]|:)"},
    {"\\I", "([\\W\\d])"},
    {"\\c", "(\\w|\\.|-|:)"},
    {"\\C", "([^\\w\\.\\-\\:])"},
};

// The block names PCRE does not know. The octal escapes name code points in UTF mode; the
// last block (U+0180 to U+024F) needs more than three octal digits, which PCRE does not read
// in one escape, so it is written with hexadecimal escapes.
const Rewrite kBlockNames[] = {
    {"\\p{IsBasicLatin}", "[\\000-\\177]"},
    {"\\p{IsLatin-1Supplement}", "[\\200-\\377]"},
    {"\\p{IsLatinExtended-A}", "[\\400-\\577]"},
    {"\\p{IsLatinExtended-B}", "[\\x{180}-\\x{24F}]"},
};

std::wstring WidenForMessage(const std::string& utf8) {
    std::wstring wide;
    if (AppendWideFromUtf8(wide, utf8.data(), utf8.size())) return wide;
    // Not UTF-8: show the bytes one character each rather than nothing.
    wide.clear();
    for (unsigned char byte : utf8) wide += static_cast<wchar_t>(byte);
    return wide;
}

// ---------------------------------------------------------------- compiled patterns

class CCompiledPattern {
public:
    CCompiledPattern(pcre2_code* code, uint32_t captureCount, bool jitCompiled)
        : m_code(code), m_captureCount(captureCount), m_jitCompiled(jitCompiled) {}
    CCompiledPattern(const CCompiledPattern&) = delete;
    CCompiledPattern& operator=(const CCompiledPattern&) = delete;
    ~CCompiledPattern() { pcre2_code_free(m_code); }

    const pcre2_code* Code() const { return m_code; }
    uint32_t CaptureCount() const { return m_captureCount; }
    // True when the JIT compiler took the pattern, so that its machine code can be entered
    // directly (pcre2_jit_match skips the interpreter's per-call checks).
    bool JitCompiled() const { return m_jitCompiled; }

private:
    pcre2_code* m_code;
    uint32_t m_captureCount;
    bool m_jitCompiled;
};

using CompiledPatternPtr = std::shared_ptr<const CCompiledPattern>;

// Compiles the translated pattern or throws the invalid-expression message.
//
// The expression is anchored at compile time (PCRE2_ANCHORED) rather than at match time:
// both restrict the match to the start of the subject, but only the compile-time form lets
// the JIT compiler take the pattern, and patterns are matched far more often than compiled.
CompiledPatternPtr Compile(const std::string& patternUtf8) {
    const std::string expression = TranslateXsdPattern(patternUtf8);
    int errorCode = 0;
    PCRE2_SIZE errorOffset = 0;
    pcre2_code* code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(expression.data()), expression.size(),
                                     PCRE2_UTF | PCRE2_ANCHORED, &errorCode, &errorOffset, nullptr);
    if (!code) {
        PCRE2_UCHAR message[256];
        if (pcre2_get_error_message(errorCode, message, sizeof message) < 0) message[0] = 0;
        throw CQxException(FormatString(L"Invalid Regular Expression: %s Error: '%s'",
                                        WidenForMessage(patternUtf8).c_str(),
                                        WidenForMessage(reinterpret_cast<const char*>(message)).c_str()));
    }
    uint32_t captureCount = 0;
    pcre2_pattern_info(code, PCRE2_INFO_CAPTURECOUNT, &captureCount);
    // Best effort: the interpreter gives the same answers.
    const bool jitCompiled = pcre2_jit_compile(code, PCRE2_JIT_COMPLETE) == 0;
    return std::make_shared<const CCompiledPattern>(code, captureCount, jitCompiled);
}

// Every distinct pattern is compiled once per process. Schemas have a bounded number of
// patterns; should a program feed the matcher an endless stream of distinct ones, the cache
// starts over instead of growing without bound.
class CPatternCache {
public:
    CompiledPatternPtr Get(const std::string& patternUtf8) {
        {
            CQXCriticalSection::Lock hold(m_cs);
            auto found = m_patterns.find(patternUtf8);
            if (found != m_patterns.end()) return found->second;
        }
        // Compiled outside the lock; a failure throws before anything is stored.
        CompiledPatternPtr compiled = Compile(patternUtf8);
        CQXCriticalSection::Lock hold(m_cs);
        if (m_patterns.size() >= kMaxPatterns) m_patterns.clear();
        return m_patterns.emplace(patternUtf8, std::move(compiled)).first->second;
    }

private:
    static constexpr size_t kMaxPatterns = 4096;
    CQXCriticalSection m_cs;
    std::unordered_map<std::string, CompiledPatternPtr> m_patterns;
};

CPatternCache& Cache() {
    static CPatternCache cache;
    return cache;
}

// The patterns a thread matched last. Values are checked against the same few patterns
// over and over; finding them here costs a short comparison instead of a lock, a hash of the
// pattern and two atomic reference count changes in the process-wide cache. The entries keep
// their compiled patterns alive even after that cache starts over.
class CRecentPatterns {
public:
    const CCompiledPattern* Find(const std::string& patternUtf8) const {
        for (const Entry& entry : m_entries)
            if (entry.pattern && entry.text == patternUtf8) return entry.pattern.get();
        return nullptr;
    }

    const CCompiledPattern* Remember(const std::string& patternUtf8, CompiledPatternPtr pattern) {
        Entry& entry = m_entries[m_next];
        m_next = (m_next + 1) % kEntries;
        entry.text = patternUtf8;
        entry.pattern = std::move(pattern);
        return entry.pattern.get();
    }

private:
    static constexpr size_t kEntries = 8;
    struct Entry {
        std::string text;
        CompiledPatternPtr pattern;
    };
    Entry m_entries[kEntries];
    size_t m_next = 0;
};

// Per-thread match state, reused from call to call: recent patterns, the offset vector and
// the UTF-8 subject.
class CMatchScratch {
public:
    CMatchScratch() = default;
    CMatchScratch(const CMatchScratch&) = delete;
    CMatchScratch& operator=(const CMatchScratch&) = delete;
    ~CMatchScratch() {
        pcre2_match_data_free(m_matchData);
        pcre2_match_context_free(m_context);
        pcre2_jit_stack_free(m_jitStack);
    }

    // Match data with room for the whole match and every capturing group.
    pcre2_match_data* MatchData(uint32_t captureCount) {
        const uint32_t pairs = captureCount + 1;
        if (!m_matchData || pcre2_get_ovector_count(m_matchData) < pairs) {
            pcre2_match_data_free(m_matchData);
            m_matchData = pcre2_match_data_create(pairs, nullptr);
            if (!m_matchData) throw std::bad_alloc();
        }
        return m_matchData;
    }

    // A match context whose JIT stack may grow to 4 MiB (the default stack of 32 KiB runs
    // out after a few thousand repetitions of a group); null when it cannot be had, and then
    // the defaults apply.
    pcre2_match_context* Context() {
        if (!m_context && !m_contextFailed) {
            m_jitStack = pcre2_jit_stack_create(64 * 1024, 4 * 1024 * 1024, nullptr);
            m_context = pcre2_match_context_create(nullptr);
            if (m_jitStack && m_context) pcre2_jit_stack_assign(m_context, nullptr, m_jitStack);
            m_contextFailed = !m_jitStack || !m_context;
        }
        return m_contextFailed ? nullptr : m_context;
    }

    std::string& Subject() { return m_subject; }

    const CCompiledPattern& Pattern(const std::string& patternUtf8) {
        const CCompiledPattern* pattern = m_recent.Find(patternUtf8);
        return pattern ? *pattern : *m_recent.Remember(patternUtf8, Cache().Get(patternUtf8));
    }

private:
    CRecentPatterns m_recent;
    pcre2_match_data* m_matchData = nullptr;
    pcre2_match_context* m_context = nullptr;
    pcre2_jit_stack* m_jitStack = nullptr;
    bool m_contextFailed = false;
    std::string m_subject;
};

}  // namespace

std::string TranslateXsdPattern(const std::string& patternUtf8) {
    std::string text = patternUtf8;
    ReplaceAll(text, "\\\\", kParkedBackslashes);
    for (const Rewrite& rewrite : kNameEscapes) ReplaceAll(text, rewrite.xsd, rewrite.pcre);
    for (const Rewrite& rewrite : kBlockNames) ReplaceAll(text, rewrite.xsd, rewrite.pcre);
    ReplaceAll(text, kParkedBackslashes, "\\\\");
    return "^" + text + "$";
}

bool MatchesPattern(const std::string& patternUtf8, const std::wstring& value) {
    thread_local CMatchScratch threadScratch;
    CMatchScratch& scratch = threadScratch;  // one thread-local lookup per call
    const CCompiledPattern& pattern = scratch.Pattern(patternUtf8);

    std::string& subject = scratch.Subject();
    subject.clear();
    // A value that cannot be encoded (an unpaired surrogate) matches no pattern.
    if (!AppendUtf8(subject, value.data(), value.size())) return false;
    const void* zero = std::memchr(subject.data(), '\0', subject.size());
    const size_t length = zero ? static_cast<size_t>(static_cast<const char*>(zero) - subject.data()) : subject.size();

    pcre2_match_data* matchData = scratch.MatchData(pattern.CaptureCount());
    // The subject comes from the UTF-8 encoder, so PCRE2 need not check it again.
    const PCRE2_SPTR bytes = reinterpret_cast<PCRE2_SPTR>(subject.data());
    pcre2_match_context* context = scratch.Context();
    int result = pattern.JitCompiled()
                     ? pcre2_jit_match(pattern.Code(), bytes, length, 0, 0, matchData, context)
                     : pcre2_match(pattern.Code(), bytes, length, 0, PCRE2_NO_UTF_CHECK, matchData, context);
    if (result == PCRE2_ERROR_JIT_STACKLIMIT) {
        // Still too deep for the JIT stack: the interpreter keeps its backtracking on the
        // heap and gives the same answer.
        result = pcre2_match(pattern.Code(), bytes, length, 0, PCRE2_NO_UTF_CHECK | PCRE2_NO_JIT, matchData, context);
    }
    if (result <= 0) return false;
    // "$" also matches before a final line feed; the value matches only as a whole.
    const PCRE2_SIZE* offsets = pcre2_get_ovector_pointer(matchData);
    return offsets[0] == 0 && offsets[1] == length;
}

}  // namespace QxXmlLib10
