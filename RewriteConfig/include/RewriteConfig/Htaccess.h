#pragma once
// The configuration of one directory: a per-directory file, a section, and the base of the server level.
#include <cstdint>
#include <string>
#include <vector>

#include <boost/shared_ptr.hpp>

#include "RewriteConfig/CfgRewriteRule.h"
#include "RewriteConfig/IHtaccess.h"

namespace Orvane { namespace Quillon {

class DirectoryLevel;

namespace Detail {
class LineText;
}

// Values of the Orvane section; time-outs in milliseconds (written in seconds).
struct ProxySettings {
    std::int32_t connectTimeout = 60000;
    std::int32_t receiveTimeout = 30000;
    std::int32_t sendTimeout = 30000;
    std::int32_t suppressErrors = 1;
};

// One RewriteMap line.
struct CfgRewriteMap {
    enum Type : std::int32_t { Txt = 0, Rnd = 1, Int = 2, Unknown = -1 };

    std::string name;
    std::int32_t type = Unknown;  // a Type
    std::wstring source;          // the text after the colon: for Txt and Rnd a file path
};

class Htaccess : public IHtaccess {
public:
    // Values of the section-kind stack.
    enum SectionKind : std::int32_t { OutsideSections = 0, OrvaneSection = 4, RegexDirectorySection = 5 };

    // AllowOverride values.
    enum Override : std::int32_t {
        AuthConfig = 1, FileInfo = 2, Indexes = 4, Limit = 8, Options = 16, All = 31, None = 0
    };

    unsigned char rewriteEngine;  // RewriteEngine: 1 On, 0 Off
    std::string rewriteBase;
    std::int32_t repeatLimit;
    std::wstring fileName;       // the file this object stands for; empty for sections and for text alone
    std::wstring fileDirectory;  // fileName up to its last backslash, all of it when it has none
    std::vector<boost::shared_ptr<DirectoryLevel>> filesSections;  // closed Files sections, in closing order
    std::int32_t allowOverride;                                    // an Override
    unsigned char inheritOptions;                                  // RewriteOptions inherit
    std::vector<CfgRewriteMap> rewriteMaps;
    std::vector<boost::shared_ptr<CfgRewriteRule>> rules;  // may hold CfgRewriteHeader and CfgRewriteProxy
    ProxySettings proxySettings;
    unsigned char rewriteCompatibility2;    // RewriteCompatibility2: 1 On, 0 Off
    unsigned char redirectHandlerInternal;  // RedirectHanler (so spelled in the language): 1 Internal, 0 External
    std::vector<std::int32_t> sectionKinds;  // a stack of SectionKind; its top reads as 0 when empty
    std::int32_t lineNumber;                 // ParseText's count of logical lines
    boost::shared_ptr<DirectoryLevel> openFilesSection;  // the open Files or FilesMatch section; it takes the lines
    boost::shared_ptr<CfgRewriteRule> pendingRule;       // collects the conditions read since the last rule

    explicit Htaccess(const std::wstring& fileName = std::wstring());
    // Virtual so that a holder of any container through Htaccess destroys it whole.
    virtual ~Htaccess();

    // Cuts text into logical lines and offers each to ParseLine; appends one error line per refused
    // line. Always true; the caller judges success by whether errors grew.
    bool ParseText(const std::string& text, std::string& errors);

    // Reads the line once (Detail::LineText) and hands it to ParseLineText.
    bool ParseLine(const std::string& line) override;
    bool SetPath(const std::string& path) override;

    // What ParseLine does, for a line already read; the containers hand lines on to one another
    // through it. Each container overrides this one, not ParseLine.
    virtual bool ParseLineText(const Detail::LineText& line);

    // Reads the file named at construction and parses it, dropping the error lines; true when it
    // was read. When it cannot be read, RewriteEngine is switched off and everything else keeps its
    // constructor default. Defined by the program that reads files this way (the site property page);
    // the model itself never reads files.
    bool LoadFromFile();

    // Top of sectionKinds, 0 when the stack is empty.
    std::int32_t CurrentSectionKind() const;
};

// A Files, FilesMatch, Directory, DirectoryMatch, Location or LocationMatch section.
class DirectoryLevel final : public Htaccess {
public:
    explicit DirectoryLevel(const std::wstring& fileName = std::wstring());
    ~DirectoryLevel() override;
};

}}
