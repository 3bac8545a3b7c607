#include "RewriteConfig/ModelDescription.h"

#include <cstdint>
#include <cstring>
#include <initializer_list>

#include "RewriteConfig/ModelWalk.h"

namespace Orvane { namespace Quillon {

namespace {

// Where the bytes go: appended to a text, or held against a text already written, from its start.
class Appender {
public:
    explicit Appender(std::string& out) : out_(out) {}
    void Bytes(const char* data, std::size_t size) { out_.append(data, size); }
    bool Differs() const { return false; }

private:
    std::string& out_;
};

class Comparer {
public:
    explicit Comparer(const std::string& expected) : expected_(expected) {}

    void Bytes(const char* data, std::size_t size)
    {
        if (!same_)
            return;
        same_ = expected_.size() - at_ >= size && std::memcmp(expected_.data() + at_, data, size) == 0;
        at_ += size;
    }

    // Whether every byte matched and none of the expected text is left.
    bool Done() const { return same_ && at_ == expected_.size(); }
    bool Differs() const { return !same_; }

private:
    const std::string& expected_;
    std::size_t at_ = 0;
    bool same_ = true;
};

// How a compiled expression is written: none; compiled from the text it is held with (most often),
// which is then only named; or compiled from a text of its own, which follows.
enum class ExpressionForm : std::int64_t { None, FromSource, OwnText };

// Flags that are not all 0 or 1 are written one by one after this mark; bits are never negative.
constexpr std::int64_t kEachFlagWritten = -1;

// The walk's visitor for a byte sink; the names of the fields are not written. Numbers as
// variable-length integers (seven bits a byte, the sign folded into the lowest bit) and texts after
// their length, so that no two different sequences of values write the same bytes. The bytes
// gather in a small buffer and reach the sink in blocks.
template <class Sink>
class Writer {
public:
    explicit Writer(Sink& sink) : sink_(sink) {}
    ~Writer() { Flush(); }
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    void Kind(ModelKind kind, const char* name)
    {
        Number(static_cast<std::int64_t>(kind));
        if (kind == ModelKind::Unknown)
            Bytes(name, std::strlen(name));
    }

    void Number(const char*, std::int64_t value) { Number(value); }
    void Text(const char*, const std::string& text) { Bytes(text.data(), text.size()); }
    void Text(const char*, const std::wstring& text)
    {
        Bytes(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
    }

    void Expression(const char*, const boost::regex& regex, const std::string& source)
    {
        if (regex.empty()) {
            Number(static_cast<std::int64_t>(ExpressionForm::None));
            return;
        }
        const std::size_t size = static_cast<std::size_t>(regex.end() - regex.begin());
        const char* text = size != 0 ? &*regex.begin() : "";
        if (size == source.size() && std::memcmp(text, source.data(), size) == 0) {
            Number(static_cast<std::int64_t>(ExpressionForm::FromSource));
        } else {
            Number(static_cast<std::int64_t>(ExpressionForm::OwnText));
            Bytes(text, size);
        }
        Number(static_cast<std::int64_t>(regex.flags()));
    }

    // Switches that are all 0 or 1, as the bits of one number.
    void Flags(std::initializer_list<ModelFlag> flags)
    {
        std::int64_t bits = 0;
        std::int64_t bit = 1;
        bool plain = true;
        for (const ModelFlag& flag : flags) {
            plain = plain && flag.value <= 1;
            bits |= flag.value == 1 ? bit : 0;
            bit <<= 1;
        }
        Number(plain ? bits : kEachFlagWritten);
        if (!plain)
            for (const ModelFlag& flag : flags)
                Number(flag.value);
    }

    // The objects' bounds follow from the counts and presences written before them.
    void Begin(const char*) {}
    void End() {}

    // Whether a comparison has already failed.
    bool Differs()
    {
        Flush();
        return sink_.Differs();
    }

private:
    static constexpr std::size_t kBufferSize = 512;
    static constexpr std::size_t kLongestNumber = 10;

    void Number(std::int64_t value)
    {
        if (kBufferSize - size_ < kLongestNumber)
            Flush();
        std::uint64_t folded = (static_cast<std::uint64_t>(value) << 1) ^ static_cast<std::uint64_t>(value >> 63);
        while (folded >= 0x80) {
            buffer_[size_++] = static_cast<char>((folded & 0x7F) | 0x80);
            folded >>= 7;
        }
        buffer_[size_++] = static_cast<char>(folded);
    }

    // A length, then the bytes.
    void Bytes(const char* data, std::size_t size)
    {
        Number(static_cast<std::int64_t>(size));
        if (size > kBufferSize - size_) {
            Flush();
            if (size > kBufferSize) {
                sink_.Bytes(data, size);
                return;
            }
        }
        std::memcpy(buffer_ + size_, data, size);
        size_ += size;
    }

    void Flush()
    {
        if (size_ != 0)
            sink_.Bytes(buffer_, size_);
        size_ = 0;
    }

    Sink& sink_;
    char buffer_[kBufferSize];
    std::size_t size_ = 0;
};

// The writer hands its last bytes to the sink when it ends, before the sink is asked.
template <class Sink>
void Walk(const Htaccess& container, Sink& sink)
{
    Writer<Sink> writer(sink);
    ModelWalk<Writer<Sink>>(writer).Container(container);
}

}

std::string DescribeModel(const Htaccess& container)
{
    std::string description;
    Appender appender(description);
    Walk(container, appender);
    // Grown as it was written, and then held at its size: a check may hold several.
    description.shrink_to_fit();
    return description;
}

bool MatchesDescription(const Htaccess& container, const std::string& description)
{
    Comparer comparer(description);
    Walk(container, comparer);
    return comparer.Done();
}

}}
