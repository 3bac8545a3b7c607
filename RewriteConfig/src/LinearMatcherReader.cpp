// The expression reader of LinearMatcher: expression text to syntax tree, with each atom's bytes.
#include <cctype>
#include <map>
#include <mutex>
#include <string>
#include <utility>

#include "LinearMatcherParts.h"

namespace Orvane { namespace Quillon { namespace Detail {

namespace {

// Which of the 256 byte values one expression atom ("a", "\s", "[^>]", ".") accepts, as the library
// matches it with the given flags. Asked once per atom and kept.
const std::bitset<256>& AtomAccepts(const std::string& atom, boost::regex::flag_type flags)
{
    static std::mutex lock;
    static std::map<std::pair<std::string, boost::regex::flag_type>, std::bitset<256>> known;
    const std::lock_guard<std::mutex> guard(lock);
    const auto key = std::make_pair(atom, flags);
    auto found = known.find(key);
    if (found != known.end())
        return found->second;
    std::bitset<256> accepts;
    const boost::regex single(atom, flags);
    boost::smatch what;
    for (int c = 0; c < 256; ++c) {
        const std::string one(1, static_cast<char>(c));
        accepts[static_cast<std::size_t>(c)] = boost::regex_match(one, what, single);
    }
    return known.emplace(key, accepts).first->second;
}

typedef std::unique_ptr<ExpressionNode> Node;

// A recursive descent over the text; every Read function returns null for syntax it does not support.
class ExpressionReader {
public:
    ExpressionReader(const char* text, boost::regex::flag_type flags, Expression& expression)
        : text_(text), flags_(flags), expression_(expression)
    {
    }

    bool Read()
    {
        expression_.root = ReadAlternation();
        return expression_.root && text_[at_] == '\0';
    }

private:
    Node ReadAlternation()
    {
        Node first = ReadSequence();
        if (!first || text_[at_] != '|')
            return first;
        Node alternation(new ExpressionNode(ExpressionNode::Alternation));
        alternation->children.push_back(std::move(first));
        while (text_[at_] == '|') {
            ++at_;
            Node next = ReadSequence();
            if (!next)
                return nullptr;
            alternation->children.push_back(std::move(next));
        }
        return alternation;
    }

    Node ReadSequence()
    {
        Node sequence(new ExpressionNode(ExpressionNode::Sequence));
        while (text_[at_] != '\0' && text_[at_] != '|' && text_[at_] != ')') {
            Node atom = ReadAtom();
            if (!atom)
                return nullptr;
            const char quantifier = text_[at_];
            if (quantifier == '*' || quantifier == '+' || quantifier == '?') {
                ++at_;
                // Lazy and possessive repeats and counted repeats are not supported.
                if (text_[at_] == '?' || text_[at_] == '+' || text_[at_] == '*' || text_[at_] == '{')
                    return nullptr;
                Node repeat(new ExpressionNode(quantifier == '*'   ? ExpressionNode::Star
                                               : quantifier == '+' ? ExpressionNode::Plus
                                                                   : ExpressionNode::Optional));
                repeat->children.push_back(std::move(atom));
                atom = std::move(repeat);
            } else if (quantifier == '{') {
                return nullptr;
            }
            sequence->children.push_back(std::move(atom));
        }
        return sequence;
    }

    // One group, bracket set, escape or literal character.
    Node ReadAtom()
    {
        const char c = text_[at_];
        if (c == '(')
            return ReadGroup();
        if (c == '[')
            return ReadBracketSet();
        if (c == '\\')
            return ReadEscape();
        if (c == '^' || c == '$' || c == '*' || c == '+' || c == '?' || c == '{' || c == ')' || c == '|' || c == '\0')
            return nullptr;
        ++at_;
        return AtomNode(std::string(1, c));
    }

    // "(...)" or "(?:...)"; a group is numbered at its "(", before the groups inside it.
    Node ReadGroup()
    {
        ++at_;
        std::size_t group = 0;
        if (text_[at_] == '?') {
            if (text_[at_ + 1] != ':')
                return nullptr;
            at_ += 2;
        } else {
            group = ++expression_.groupCount;
        }
        Node inner = ReadAlternation();
        if (!inner || text_[at_] != ')')
            return nullptr;
        ++at_;
        Node node(new ExpressionNode(ExpressionNode::Group));
        node->group = group;
        node->children.push_back(std::move(inner));
        return node;
    }

    // A bracket set, read whole as one atom; no empty set, no nested "[" (character class names).
    Node ReadBracketSet()
    {
        const std::size_t start = at_;
        ++at_;
        if (text_[at_] == '^')
            ++at_;
        if (text_[at_] == ']')
            return nullptr;
        while (text_[at_] != ']') {
            if (text_[at_] == '\0' || text_[at_] == '[')
                return nullptr;
            if (text_[at_] == '\\') {
                if (text_[at_ + 1] == '\0')
                    return nullptr;
                ++at_;
            }
            ++at_;
        }
        ++at_;
        return AtomNode(std::string(text_ + start, at_ - start));
    }

    Node ReadEscape()
    {
        const char escaped = text_[at_ + 1];
        // Class escapes and escaped punctuation; other letters and digits mean other things.
        const bool isClass = escaped == 's' || escaped == 'S' || escaped == 'd';
        if (escaped == '\0' || (!isClass && std::isalnum(static_cast<unsigned char>(escaped))))
            return nullptr;
        at_ += 2;
        return AtomNode(std::string(text_ + at_ - 2, 2));
    }

    // The next atom position, with the bytes that the atom's text accepts.
    Node AtomNode(const std::string& atom)
    {
        if (expression_.atomCount >= kMaxAtoms)
            return nullptr;
        Node node(new ExpressionNode(ExpressionNode::Atom));
        node->atom = expression_.atomCount++;
        const std::bitset<256>& accepts = AtomAccepts(atom, flags_);
        for (std::size_t b = 0; b < 256; ++b)
            if (accepts[b])
                expression_.accepts[b] |= AtomBit(node->atom);
        return node;
    }

    const char* const text_;
    const boost::regex::flag_type flags_;
    Expression& expression_;
    std::size_t at_ = 0;
};

}

const std::bitset<256>& RegexSpaces()
{
    static const std::bitset<256> spaces = AtomAccepts("\\s", boost::regex::perl | boost::regex::icase);
    return spaces;
}

bool ReadExpression(const char* text, boost::regex::flag_type flags, Expression& expression)
{
    return ExpressionReader(text, flags, expression).Read();
}

}}}
