// CString storage and editing. Formatting lives in cstring_format.cpp.
//
// Sections: storage block helpers; construction and assignment; raw buffer
// access; comparison; concatenation; searching; editing; extraction; case and
// trimming.
#include "framework/core/cstring.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <new>
#include <string_view>

#include "framework/core/locale.h"

// ---- storage block helpers -------------------------------------------------

namespace {

struct Header {
    int length;    // code units in use, not counting the terminator
    int capacity;  // code units that fit, not counting the terminator
};
static_assert(sizeof(Header) == 2 * sizeof(int), "CString reads the header as two ints");

// The block every empty string points at; it is never written.
struct EmptyBlock {
    Header header;
    WCHAR terminator;
};
EmptyBlock g_emptyBlock = {{0, 0}, 0};

Header* HeaderOf(LPWSTR data) noexcept { return reinterpret_cast<Header*>(data) - 1; }
LPWSTR DataOf(Header* header) noexcept { return reinterpret_cast<LPWSTR>(header + 1); }
LPWSTR EmptyData() noexcept { return DataOf(&g_emptyBlock.header); }

std::size_t BlockBytes(long long capacity) noexcept {
    return sizeof(Header) + (static_cast<std::size_t>(capacity) + 1) * sizeof(WCHAR);
}

// Strings of tens of megabytes (a large clipboard text, the copy a paste reads it
// into) are made and dropped whole, often one after another. The heap hands blocks
// that large straight back to the system, and each new one comes as fresh zeroed
// pages, whose first touch costs several times the copying of the text into them.
// So the last large block freed is kept, its pages left to the system to take back
// when it needs memory (MADV_FREE), and the next large string of about its size
// takes it over, pages and all, if the system has not. Under the address
// sanitizer large blocks stay with the heap, so that overruns are still caught.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kKeepLargeBlocks = false;
#else
constexpr bool kKeepLargeBlocks = true;
#endif
constexpr std::size_t kLargeBlock = std::size_t{32} << 20;  // where the heap stops recycling
constexpr std::size_t kLargePrefix = 16;                     // the mapping's size, ahead of the header

class LargeBlocks {
public:
    static void* Take(std::size_t bytes) {
        const std::size_t page = 4096;
        const std::size_t need = (bytes + kLargePrefix + page - 1) / page * page;
        void* block = TakeKept(need);
        if (block == nullptr) {
            block = mmap(nullptr, need, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
            if (block == MAP_FAILED) throw std::bad_alloc();
            // Asked for in pages of two megabytes, a fresh block faults in a
            // five-hundredth as often as in pages of four kilobytes: a million-line
            // clipboard text is then read in about a tenth of the time. Only a
            // request; where the system says no, the block stays in small pages.
#ifdef MADV_HUGEPAGE
            madvise(block, need, MADV_HUGEPAGE);
#endif
            std::memcpy(block, &need, sizeof need);
        }
        return static_cast<char*>(block) + kLargePrefix;
    }

    static void Give(void* data) noexcept {
        void* block = static_cast<char*>(data) - kLargePrefix;
        std::size_t size;
        std::memcpy(&size, block, sizeof size);
        if (madvise(block, size, MADV_FREE) != 0) {
            munmap(block, size);
            return;
        }
        std::unique_lock<std::mutex> hold(lock);
        std::swap(block, kept);
        std::swap(size, keptSize);
        hold.unlock();
        if (block != nullptr) munmap(block, size);
    }

private:
    // The kept block when it holds `need` bytes without wasting more than half of
    // them; its size goes back in front of it, where the system may have zeroed it.
    static void* TakeKept(std::size_t need) noexcept {
        std::lock_guard<std::mutex> hold(lock);
        if (kept == nullptr || keptSize < need || keptSize - need > need / 2) return nullptr;
        void* block = kept;
        std::memcpy(block, &keptSize, sizeof keptSize);
        kept = nullptr;
        keptSize = 0;
        return block;
    }

    static inline std::mutex lock;
    static inline void* kept = nullptr;
    static inline std::size_t keptSize = 0;
};

LPWSTR Allocate(long long capacity) {
    if (capacity < 0 || capacity > CString::kMaxLength) throw std::bad_alloc();
    const std::size_t bytes = BlockBytes(capacity);
    void* block = kKeepLargeBlocks && bytes >= kLargeBlock ? LargeBlocks::Take(bytes) : ::operator new(bytes);
    Header* header = new (block) Header{0, static_cast<int>(capacity)};
    LPWSTR data = DataOf(header);
    data[0] = 0;
    return data;
}

void Free(LPWSTR data) noexcept {
    if (data == EmptyData()) return;
    Header* header = HeaderOf(data);
    if (kKeepLargeBlocks && BlockBytes(header->capacity) >= kLargeBlock) {
        LargeBlocks::Give(header);
    } else {
        ::operator delete(header);
    }
}

int MeasureBounded(LPCWSTR text, int limit) noexcept {
    int n = 0;
    while (n < limit && text[n] != 0) ++n;
    return n;
}

int Measure(LPCWSTR text) {
    if (text == nullptr) return 0;
    const std::size_t n = std::char_traits<WCHAR>::length(text);
    if (n > static_cast<std::size_t>(CString::kMaxLength)) throw std::bad_alloc();
    return static_cast<int>(n);
}

std::u16string_view View(LPCWSTR text) noexcept {
    return text ? std::u16string_view(text) : std::u16string_view();
}

bool InSet(std::u16string_view set, WCHAR ch) noexcept { return set.find(ch) != std::u16string_view::npos; }

bool IsSpace(WCHAR ch) noexcept {
    if (ch <= 0x20) return ch == 0x20 || (ch >= 0x09 && ch <= 0x0D);
    switch (ch) {
        case 0x0085: case 0x00A0: case 0x1680: case 0x2028: case 0x2029:
        case 0x202F: case 0x205F: case 0x3000:
            return true;
        default:
            return ch >= 0x2000 && ch <= 0x200A;
    }
}

WCHAR Upper(WCHAR ch) noexcept {
    if (ch < 0x80) return (ch >= u'a' && ch <= u'z') ? static_cast<WCHAR>(ch - 0x20) : ch;
    CharUpperBuffW(&ch, 1);
    return ch;
}

template <typename Map>
int CompareUnits(LPCWSTR a, int na, LPCWSTR b, int nb, Map map) noexcept {
    const int n = std::min(na, nb);
    for (int i = 0; i < n; ++i) {
        const WCHAR x = map(a[i]);
        const WCHAR y = map(b[i]);
        if (x != y) return x < y ? -1 : 1;
    }
    return na == nb ? 0 : (na < nb ? -1 : 1);
}

WCHAR Same(WCHAR ch) noexcept { return ch; }

}  // namespace

bool CString::Owned() const noexcept { return m_data != EmptyData(); }

void CString::SetLength(int length) noexcept {
    HeaderOf(m_data)->length = length;
    m_data[length] = 0;
}

void CString::Reserve(int capacity, bool exact) {
    const int old = Capacity();
    if (Owned() && capacity <= old) return;
    long long grown = capacity;
    if (!exact && Owned()) grown = std::max<long long>(capacity, std::min<long long>(kMaxLength, old + old / 2 + 8));
    LPWSTR data = Allocate(grown);
    const int length = Length();
    std::memcpy(data, m_data, (static_cast<std::size_t>(length) + 1) * sizeof(WCHAR));
    HeaderOf(data)->length = length;
    Free(m_data);
    m_data = data;
}

void CString::Assign(LPCWSTR text, int length) {
    if (text == nullptr || length <= 0) {
        Empty();
        return;
    }
    if (Owned() && length <= Capacity()) {
        std::memmove(m_data, text, static_cast<std::size_t>(length) * sizeof(WCHAR));  // text may be ours
        SetLength(length);
        return;
    }
    LPWSTR data = Allocate(length);
    std::memcpy(data, text, static_cast<std::size_t>(length) * sizeof(WCHAR));
    Free(m_data);
    m_data = data;
    SetLength(length);
}

// ---- construction and assignment -------------------------------------------

CString::CString() noexcept : m_data(EmptyData()) {}
CString::CString(const CString& other) : m_data(EmptyData()) { Assign(other.m_data, other.Length()); }
CString::CString(CString&& other) noexcept : m_data(other.m_data) { other.m_data = EmptyData(); }
CString::CString(LPCWSTR text) : m_data(EmptyData()) { Assign(text, Measure(text)); }
CString::CString(LPCWSTR text, int length) : m_data(EmptyData()) { Assign(text, length); }

CString::CString(WCHAR ch, int repeat) : m_data(EmptyData()) {
    if (repeat <= 0) return;
    m_data = Allocate(repeat);
    std::fill_n(m_data, repeat, ch);
    SetLength(repeat);
}

CString::~CString() { Free(m_data); }

CString& CString::operator=(const CString& other) {
    if (this != &other) Assign(other.m_data, other.Length());
    return *this;
}

CString& CString::operator=(CString&& other) noexcept {
    if (this != &other) {
        Free(m_data);
        m_data = other.m_data;
        other.m_data = EmptyData();
    }
    return *this;
}

CString& CString::operator=(LPCWSTR text) {
    Assign(text, Measure(text));
    return *this;
}

CString& CString::operator=(WCHAR ch) {
    Assign(&ch, 1);
    return *this;
}

void CString::SetString(LPCWSTR text) { Assign(text, Measure(text)); }
void CString::SetString(LPCWSTR text, int length) { Assign(text, length); }

void CString::Empty() noexcept {
    Free(m_data);
    m_data = EmptyData();
}

WCHAR CString::GetAt(int index) const noexcept {
    return (index >= 0 && index < Length()) ? m_data[index] : WCHAR(0);
}

void CString::SetAt(int index, WCHAR ch) noexcept {
    if (index >= 0 && index < Length()) m_data[index] = ch;
}

// ---- raw buffer access -----------------------------------------------------

LPWSTR CString::GetBuffer() { return GetBuffer(Length()); }

LPWSTR CString::GetBuffer(int minLength) {
    // Always hand out an owned block, even for an empty string, so that the
    // caller may write its terminator.
    Reserve(std::max({minLength, Length(), 0}), true);
    return m_data;
}

LPWSTR CString::GetBufferSetLength(int length) {
    length = std::max(length, 0);
    Reserve(length, true);
    SetLength(length);
    return m_data;
}

void CString::ReleaseBuffer(int newLength) noexcept {
    if (!Owned()) return;
    const int capacity = Capacity();
    if (newLength < 0) {
        newLength = MeasureBounded(m_data, capacity);
    } else {
        newLength = std::min(newLength, capacity);
    }
    SetLength(newLength);
}

void CString::Preallocate(int length) { Reserve(std::max({length, Length(), 0}), true); }

void CString::FreeExtra() {
    if (!Owned() || Capacity() == Length()) return;
    CString exact(m_data, Length());
    swap(*this, exact);
}

void CString::Truncate(int length) noexcept {
    if (length >= 0 && length < Length()) SetLength(length);
}

// ---- comparison ------------------------------------------------------------

int CString::Compare(LPCWSTR text) const noexcept {
    std::u16string_view other = View(text);
    return CompareUnits(m_data, Length(), other.data(), static_cast<int>(std::min<std::size_t>(other.size(), kMaxLength + 1u)), Same);
}

int CString::Compare(const CString& text) const noexcept {
    return CompareUnits(m_data, Length(), text.m_data, text.Length(), Same);
}

int CString::CompareNoCase(LPCWSTR text) const noexcept {
    std::u16string_view other = View(text);
    return CompareUnits(m_data, Length(), other.data(), static_cast<int>(std::min<std::size_t>(other.size(), kMaxLength + 1u)), Upper);
}

int CString::CompareNoCase(const CString& text) const noexcept {
    return CompareUnits(m_data, Length(), text.m_data, text.Length(), Upper);
}

namespace {

int Collated(LPCWSTR a, int na, LPCWSTR b, DWORD flags) noexcept {
    const int result = CompareStringW(LOCALE_USER_DEFAULT, flags, a, na, b ? b : u"", -1);
    return result == 0 ? 2 : result - CSTR_EQUAL;  // 2: the collator failed
}

}  // namespace

int CString::Collate(LPCWSTR text) const noexcept {
    const int r = Collated(m_data, Length(), text, 0);
    return r == 2 ? Compare(text) : r;
}

int CString::CollateNoCase(LPCWSTR text) const noexcept {
    const int r = Collated(m_data, Length(), text, NORM_IGNORECASE);
    return r == 2 ? CompareNoCase(text) : r;
}

// ---- concatenation ---------------------------------------------------------

void CString::Append(LPCWSTR text, int length) {
    if (text == nullptr || length <= 0) return;
    const int old = Length();
    const long long total = static_cast<long long>(old) + length;
    if (total > kMaxLength) throw std::bad_alloc();
    if (Owned() && total <= Capacity()) {
        std::memmove(m_data + old, text, static_cast<std::size_t>(length) * sizeof(WCHAR));
    } else {
        // Copy into the new block before the old one goes: `text` may point into it.
        LPWSTR data = Allocate(Owned() ? std::max<long long>(total, std::min<long long>(kMaxLength, Capacity() + Capacity() / 2 + 8)) : total);
        std::memcpy(data, m_data, static_cast<std::size_t>(old) * sizeof(WCHAR));
        std::memcpy(data + old, text, static_cast<std::size_t>(length) * sizeof(WCHAR));
        Free(m_data);
        m_data = data;
    }
    SetLength(static_cast<int>(total));
}

void CString::Append(LPCWSTR text) { Append(text, Measure(text)); }
void CString::AppendChar(WCHAR ch) { Append(&ch, 1); }

CString& CString::operator+=(const CString& text) {
    Append(text.m_data, text.Length());
    return *this;
}

CString& CString::operator+=(LPCWSTR text) {
    Append(text);
    return *this;
}

CString& CString::operator+=(WCHAR ch) {
    Append(&ch, 1);
    return *this;
}

namespace {

CString Concat(LPCWSTR a, int na, LPCWSTR b, int nb) {
    CString result;
    result.Preallocate(static_cast<int>(std::min<long long>(static_cast<long long>(na) + nb, CString::kMaxLength)));
    result.Append(a, na);
    result.Append(b, nb);
    return result;
}

}  // namespace

CString operator+(const CString& a, const CString& b) { return Concat(a, a.GetLength(), b, b.GetLength()); }
CString operator+(const CString& a, LPCWSTR b) { return Concat(a, a.GetLength(), b, Measure(b)); }
CString operator+(LPCWSTR a, const CString& b) { return Concat(a, Measure(a), b, b.GetLength()); }
CString operator+(const CString& a, WCHAR b) { return Concat(a, a.GetLength(), &b, 1); }
CString operator+(WCHAR a, const CString& b) { return Concat(&a, 1, b, b.GetLength()); }

// ---- searching -------------------------------------------------------------

namespace {

int ToIndex(std::size_t pos) noexcept { return pos == std::u16string_view::npos ? -1 : static_cast<int>(pos); }

}  // namespace

int CString::Find(WCHAR ch, int start) const noexcept {
    if (start < 0 || start >= Length()) return -1;
    return ToIndex(std::u16string_view(m_data, Length()).find(ch, start));
}

int CString::Find(LPCWSTR pattern, int start) const noexcept {
    if (start < 0 || start > Length()) return -1;
    return ToIndex(std::u16string_view(m_data, Length()).find(View(pattern), start));
}

int CString::ReverseFind(WCHAR ch) const noexcept {
    return ToIndex(std::u16string_view(m_data, Length()).rfind(ch));
}

int CString::FindOneOf(LPCWSTR set) const noexcept {
    std::u16string_view chars = View(set);
    if (chars.empty()) return -1;
    return ToIndex(std::u16string_view(m_data, Length()).find_first_of(chars));
}

// ---- editing ---------------------------------------------------------------

int CString::Replace(WCHAR oldCh, WCHAR newCh) noexcept {
    if (oldCh == newCh) return 0;
    int count = 0;
    for (int i = 0, n = Length(); i < n; ++i) {
        if (m_data[i] == oldCh) {
            m_data[i] = newCh;
            ++count;
        }
    }
    return count;
}

int CString::Replace(LPCWSTR oldText, LPCWSTR newText) {
    const std::u16string_view from = View(oldText);
    const std::u16string_view to = View(newText);
    const std::u16string_view text(m_data, Length());
    if (from.empty()) return 0;
    long long count = 0;
    for (std::size_t pos = text.find(from); pos != std::u16string_view::npos; pos = text.find(from, pos + from.size())) {
        ++count;
    }
    if (count == 0) return 0;
    const long long total = static_cast<long long>(text.size()) + count * (static_cast<long long>(to.size()) - static_cast<long long>(from.size()));
    if (total > kMaxLength) throw std::bad_alloc();
    // Build into a new string: `newText` may point into this one.
    CString result;
    result.Preallocate(static_cast<int>(total));
    std::size_t done = 0;
    for (std::size_t pos = text.find(from); pos != std::u16string_view::npos; pos = text.find(from, done)) {
        result.Append(text.data() + done, static_cast<int>(pos - done));
        result.Append(to.data(), static_cast<int>(to.size()));
        done = pos + from.size();
    }
    result.Append(text.data() + done, static_cast<int>(text.size() - done));
    swap(*this, result);
    return static_cast<int>(count);
}

int CString::Remove(WCHAR ch) noexcept {
    const int n = Length();
    int kept = 0;
    for (int i = 0; i < n; ++i) {
        if (m_data[i] != ch) m_data[kept++] = m_data[i];
    }
    if (kept != n) SetLength(kept);
    return n - kept;
}

int CString::InsertUnits(int index, LPCWSTR text, int count) {
    const int n = Length();
    if (count <= 0) return n;
    index = std::clamp(index, 0, n);
    if (static_cast<long long>(n) + count > kMaxLength) throw std::bad_alloc();
    // Build into a new string: `text` may point into this one.
    CString result;
    result.Preallocate(n + count);
    result.Append(m_data, index);
    result.Append(text, count);
    result.Append(m_data + index, n - index);
    swap(*this, result);
    return n + count;
}

int CString::Insert(int index, LPCWSTR text) { return InsertUnits(index, text, Measure(text)); }
int CString::Insert(int index, WCHAR ch) { return InsertUnits(index, &ch, 1); }

int CString::Delete(int index, int count) noexcept {
    const int n = Length();
    index = std::max(index, 0);
    if (count <= 0 || index >= n) return n;
    count = std::min(count, n - index);
    std::memmove(m_data + index, m_data + index + count, static_cast<std::size_t>(n - index - count) * sizeof(WCHAR));
    SetLength(n - count);
    return n - count;
}

// ---- extraction ------------------------------------------------------------

CString CString::Left(int count) const { return CString(m_data, std::clamp(count, 0, Length())); }

CString CString::Right(int count) const {
    count = std::clamp(count, 0, Length());
    return CString(m_data + Length() - count, count);
}

CString CString::Mid(int first) const { return Mid(first, Length()); }

CString CString::Mid(int first, int count) const {
    const int n = Length();
    first = std::clamp(first, 0, n);
    count = std::clamp(count, 0, n - first);
    return CString(m_data + first, count);
}

CString CString::SpanIncluding(LPCWSTR set) const {
    const std::u16string_view chars = View(set);
    int n = 0;
    while (n < Length() && InSet(chars, m_data[n])) ++n;
    return Left(n);
}

CString CString::SpanExcluding(LPCWSTR set) const {
    const std::u16string_view chars = View(set);
    int n = 0;
    while (n < Length() && !InSet(chars, m_data[n])) ++n;
    return Left(n);
}

CString CString::Tokenize(LPCWSTR delimiters, int& start) const {
    const int n = Length();
    const std::u16string_view chars = View(delimiters);
    if (start >= 0 && start < n) {
        int from = start;
        while (from < n && InSet(chars, m_data[from])) ++from;
        if (from < n) {
            int end = from;
            while (end < n && !InSet(chars, m_data[end])) ++end;
            // Step over the one delimiter that ended the token; at the end of the
            // text this is one past the length, and the next call finds nothing.
            start = end + 1;
            return CString(m_data + from, end - from);
        }
    }
    start = -1;
    return CString();
}

// ---- case and trimming -----------------------------------------------------

CString& CString::MakeUpper() noexcept {
    CharUpperBuffW(m_data, static_cast<DWORD>(Length()));
    return *this;
}

CString& CString::MakeLower() noexcept {
    CharLowerBuffW(m_data, static_cast<DWORD>(Length()));
    return *this;
}

CString& CString::MakeReverse() noexcept {
    const int n = Length();
    std::reverse(m_data, m_data + n);
    // Put the halves of each surrogate pair back in order.
    for (int i = 0; i + 1 < n; ++i) {
        if (m_data[i] >= 0xDC00 && m_data[i] <= 0xDFFF && m_data[i + 1] >= 0xD800 && m_data[i + 1] <= 0xDBFF) {
            std::swap(m_data[i], m_data[i + 1]);
            ++i;
        }
    }
    return *this;
}

namespace {

template <typename Pred>
int LeadingRun(LPCWSTR data, int n, Pred pred) noexcept {
    int i = 0;
    while (i < n && pred(data[i])) ++i;
    return i;
}

template <typename Pred>
int TrailingRun(LPCWSTR data, int n, Pred pred) noexcept {
    int i = n;
    while (i > 0 && pred(data[i - 1])) --i;
    return n - i;
}

}  // namespace

namespace {

template <typename Pred>
void TrimLeftBy(CString& s, Pred pred) noexcept {
    const int cut = LeadingRun(s.GetString(), s.GetLength(), pred);
    if (cut > 0) s.Delete(0, cut);
}

template <typename Pred>
void TrimRightBy(CString& s, Pred pred) noexcept {
    const int cut = TrailingRun(s.GetString(), s.GetLength(), pred);
    if (cut > 0) s.Truncate(s.GetLength() - cut);
}

auto Matches(WCHAR ch) noexcept {
    return [ch](WCHAR c) { return c == ch; };
}

auto MatchesOneOf(LPCWSTR set) noexcept {
    return [chars = View(set)](WCHAR c) { return InSet(chars, c); };
}

}  // namespace

CString& CString::TrimLeft() noexcept { TrimLeftBy(*this, IsSpace); return *this; }
CString& CString::TrimLeft(WCHAR ch) noexcept { TrimLeftBy(*this, Matches(ch)); return *this; }
CString& CString::TrimLeft(LPCWSTR set) noexcept { TrimLeftBy(*this, MatchesOneOf(set)); return *this; }
CString& CString::TrimRight() noexcept { TrimRightBy(*this, IsSpace); return *this; }
CString& CString::TrimRight(WCHAR ch) noexcept { TrimRightBy(*this, Matches(ch)); return *this; }
CString& CString::TrimRight(LPCWSTR set) noexcept { TrimRightBy(*this, MatchesOneOf(set)); return *this; }
CString& CString::Trim() noexcept { return TrimRight().TrimLeft(); }
CString& CString::Trim(WCHAR ch) noexcept { return TrimRight(ch).TrimLeft(ch); }
CString& CString::Trim(LPCWSTR set) noexcept { return TrimRight(set).TrimLeft(set); }
