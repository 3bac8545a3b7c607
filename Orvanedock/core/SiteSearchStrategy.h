#pragma once
// A site search strategy finds the children of one site tree node in one IIS configuration store
// and adds them to the node. The base holds the dispatch by node type, the walk over physical
// folders on disk, and the listing rules of the application-host store's sites, applications and
// virtual directories, which work on what the store answered for one site.
#include <string>
#include <vector>

namespace Orvane::Orvanedock {
class SiteTreeNode;
}

namespace Orvane::Util {

using Orvanedock::SiteTreeNode;

// The folders on disk.
class IFolderSource {
public:
    // The names of the sub-folders of folder that do not begin with ".", in the order found.
    // False when the walk failed; names then holds what was found before the failure.
    virtual bool ListFolders(const std::wstring& folder, std::vector<std::wstring>& names) = 0;
    // The text with its %NAME% environment references expanded.
    virtual std::wstring ExpandEnvironment(const std::wstring& text) = 0;

protected:
    ~IFolderSource() = default;
};

// What the application-host store holds for one site.
struct AppHostVirtualDirectory {
    std::wstring path;
    std::wstring physicalPath;
};
struct AppHostApplication {
    std::wstring path;
    std::vector<AppHostVirtualDirectory> virtualDirectories;
};
struct AppHostSite {
    long id = 0;
    std::wstring name;
    std::vector<AppHostApplication> applications;
};

class IISSiteSearchStrategy {
public:
    explicit IISSiteSearchStrategy(IFolderSource& folders) : folders_(folders) {}
    virtual ~IISSiteSearchStrategy() = default;
    IISSiteSearchStrategy(const IISSiteSearchStrategy&) = delete;
    IISSiteSearchStrategy& operator=(const IISSiteSearchStrategy&) = delete;

    // The store could be reached when the strategy was built.
    bool available = false;

    // Sites for the root; folders, then virtual directories, for the other kinds. Entries added.
    int Expand(SiteTreeNode& node);

    virtual int FindSites(SiteTreeNode* node);
    virtual int FindVirtualDirectories(SiteTreeNode* node);
    // The sub-folders of path (null: a physical folder's own path) as physical-folder children.
    virtual int FindDirectories(SiteTreeNode* node, const std::wstring* path);

protected:
    // Everything below a site node: its non-root applications, the one-segment virtual directories
    // of its root application and the folders of the root's "/" directory.
    int ListSiteChildren(SiteTreeNode& node, const AppHostSite& site);
    // Everything below an application, virtual directory or folder node of the site.
    int ListBelowSiteNode(SiteTreeNode& node, const AppHostSite& site, const std::wstring& rest);

    int ListRootApplicationChildren(SiteTreeNode& node, const AppHostApplication& root);
    int ListPhysicalUnderVirtualDirectory(SiteTreeNode& node, const AppHostVirtualDirectory& directory,
                                          const std::wstring& relative);
    int ListNestedVirtualDirectories(SiteTreeNode& node, const AppHostApplication& application,
                                     const std::wstring& relative);

    // The application with the longest path that rest begins with (at a "/" boundary), else the
    // root application.
    static const AppHostApplication* FindApplication(const AppHostSite& site, const std::wstring& rest);
    // The longest virtual directory path that relative begins with; empty when none.
    static std::wstring LongestVirtualDirectoryPath(const AppHostApplication& application,
                                                    const std::wstring& relative);
    static const AppHostVirtualDirectory* FindVirtualDirectory(const AppHostApplication& application,
                                                               const std::wstring& path);

    IFolderSource& folders_;
};

}
