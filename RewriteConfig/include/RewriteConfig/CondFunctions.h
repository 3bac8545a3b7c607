#pragma once
// The tests a RewriteCond applies to its test value.
#include <string>

#include <boost/regex.hpp>

namespace Orvane { namespace Quillon {

class ICondFunction {
public:
    // value: the test string with its references replaced; pattern: the condition's pattern after Parse.
    // Only CondRegexp writes captures; the file tests and CondRegexp ignore pattern.
    virtual bool Evaluate(const std::string& value, const std::string& pattern, boost::smatch& captures) = 0;

protected:
    ICondFunction() = default;
    ICondFunction(const ICondFunction&) = default;
    ICondFunction& operator=(const ICondFunction&) = default;
    // Test objects are always owned through a shared pointer made from the concrete class.
    ~ICondFunction() = default;
};

// The comparisons read both texts as C strings, up to the first zero byte: with nocase as the C
// runtime's _stricmp, else byte by byte.

// "=": the value equals the pattern.
class CondEqual final : public ICondFunction {
public:
    unsigned char nocase;
    explicit CondEqual(unsigned char nocase);
    bool Evaluate(const std::string& value, const std::string& pattern, boost::smatch& captures) override;
};

// "<": the value sorts before the pattern.
class CondLess final : public ICondFunction {
public:
    unsigned char nocase;
    explicit CondLess(unsigned char nocase);
    bool Evaluate(const std::string& value, const std::string& pattern, boost::smatch& captures) override;
};

// ">": the value sorts after the pattern.
class CondGreater final : public ICondFunction {
public:
    unsigned char nocase;
    explicit CondGreater(unsigned char nocase);
    bool Evaluate(const std::string& value, const std::string& pattern, boost::smatch& captures) override;
};

// "-d": the value names an existing directory.
class CondDirectory final : public ICondFunction {
public:
    bool Evaluate(const std::string& value, const std::string& pattern, boost::smatch& captures) override;
};

// "-f": the value names an existing entry that is not a directory.
class CondFile final : public ICondFunction {
public:
    bool Evaluate(const std::string& value, const std::string& pattern, boost::smatch& captures) override;
};

// "-s": as CondFile, and the file is not empty.
class CondFileWithSize final : public ICondFunction {
public:
    bool Evaluate(const std::string& value, const std::string& pattern, boost::smatch& captures) override;
};

// Any other pattern: a regular expression searched anywhere in the value.
class CondRegexp final : public ICondFunction {
public:
    boost::regex regex;    // pattern compiled, case-insensitively with nocase; empty until it compiles
    std::string pattern;
    unsigned char nocase;

    CondRegexp(std::string pattern, unsigned char nocase);
    // Compiles pattern into regex; false (regex unchanged) when anything is thrown.
    bool Compile();
    bool Evaluate(const std::string& value, const std::string& pattern, boost::smatch& captures) override;
};

}}
