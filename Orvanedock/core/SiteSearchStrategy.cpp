#include "SiteSearchStrategy.h"

#include "SiteNodeType.h"
#include "SitePaths.h"
#include "SiteTreeNode.h"

namespace Orvane::Util {

using namespace Orvanedock;

int IISSiteSearchStrategy::Expand(SiteTreeNode& node)
{
    switch (node.Item().nodeType) {
    case kNodeRoot:
        return FindSites(&node);
    case kNodeWebSite:
    case kNodeVirtualDirectory:
    case kNodeApplication:
    case kNodePhysicalDirectory:
        return FindDirectories(&node, nullptr) + FindVirtualDirectories(&node);
    default:
        return 0;
    }
}

int IISSiteSearchStrategy::FindSites(SiteTreeNode*)
{
    return 0;
}

int IISSiteSearchStrategy::FindVirtualDirectories(SiteTreeNode*)
{
    return 0;
}

int IISSiteSearchStrategy::FindDirectories(SiteTreeNode* node, const std::wstring* path)
{
    if (!node)
        return 0;
    if (!path) {
        if (node->Item().nodeType != kNodePhysicalDirectory)
            return 0;
        path = &node->Item().physicalPath;
    }
    if (path->empty())
        return 0;
    std::vector<std::wstring> names;
    folders_.ListFolders(*path, names);
    // Folders found before a failed walk stay and are counted, so that no later strategy adds
    // them a second time.
    int added = 0;
    for (const std::wstring& name : names) {
        if (node->AddChild(name, ChildMetabasePath(node->Item().metabasePath, name), *path + L"\\" + name,
                           kNodePhysicalDirectory))
            ++added;
    }
    return added;
}

int IISSiteSearchStrategy::ListSiteChildren(SiteTreeNode& node, const AppHostSite& site)
{
    int added = 0;
    for (const AppHostApplication& application : site.applications) {
        if (application.path == L"/") {
            added += ListRootApplicationChildren(node, application);
        } else if (application.path.size() > 1 && application.path[0] == L'/') {
            if (node.AddChild(application.path.substr(1), node.Item().metabasePath + application.path,
                              std::wstring(), kNodeApplication))
                ++added;
        }
    }
    return added;
}

int IISSiteSearchStrategy::ListRootApplicationChildren(SiteTreeNode& node, const AppHostApplication& root)
{
    int added = 0;
    for (const AppHostVirtualDirectory& directory : root.virtualDirectories) {
        if (directory.path == L"/") {
            added += ListPhysicalUnderVirtualDirectory(node, directory, std::wstring());
        } else if (directory.path.size() > 1 && directory.path[0] == L'/' && !HasInnerSlash(directory.path)) {
            if (node.AddChild(directory.path.substr(1), node.Item().metabasePath + directory.path, std::wstring(),
                              kNodeVirtualDirectory))
                ++added;
        }
    }
    return added;
}

int IISSiteSearchStrategy::ListPhysicalUnderVirtualDirectory(SiteTreeNode& node,
                                                             const AppHostVirtualDirectory& directory,
                                                             const std::wstring& relative)
{
    if (directory.physicalPath.empty())
        return 0;
    // The store keeps references such as %SystemDrive% in the text; the disk knows only the result.
    const std::wstring folder = folders_.ExpandEnvironment(directory.physicalPath) + relative;
    return IISSiteSearchStrategy::FindDirectories(&node, &folder);
}

int IISSiteSearchStrategy::ListNestedVirtualDirectories(SiteTreeNode& node, const AppHostApplication& application,
                                                        const std::wstring& relative)
{
    int added = 0;
    for (const AppHostVirtualDirectory& directory : application.virtualDirectories) {
        const std::wstring rest = NestedPathBelow(directory.path, relative);
        if (rest.size() < 2 || HasInnerSlash(rest))
            continue;
        if (node.AddChild(rest.substr(1), node.Item().metabasePath + rest, std::wstring(), kNodeVirtualDirectory))
            ++added;
    }
    return added;
}

int IISSiteSearchStrategy::ListBelowSiteNode(SiteTreeNode& node, const AppHostSite& site, const std::wstring& rest)
{
    const AppHostApplication* application = FindApplication(site, rest);
    if (!application)
        return 0;
    const std::wstring relative = PathRelativeToApplication(rest, application->path);
    const std::wstring longest = LongestVirtualDirectoryPath(*application, relative);
    int added = 0;
    if (const AppHostVirtualDirectory* directory = FindVirtualDirectory(*application, longest))
        added += ListPhysicalUnderVirtualDirectory(node, *directory, PathRelativeToVirtualDirectory(relative, longest));
    added += ListNestedVirtualDirectories(node, *application, relative);
    return added;
}

const AppHostApplication* IISSiteSearchStrategy::FindApplication(const AppHostSite& site, const std::wstring& rest)
{
    // The collection lists a parent application before the ones nested in it: the node belongs to
    // the innermost one that holds its path, not to the first.
    const AppHostApplication* innermost = nullptr;
    for (const AppHostApplication& application : site.applications) {
        if (application.path != L"/" && !application.path.empty() && PathBeginsWith(rest, application.path) &&
            (!innermost || application.path.size() > innermost->path.size()))
            innermost = &application;
    }
    if (innermost)
        return innermost;
    for (const AppHostApplication& application : site.applications) {
        if (application.path == L"/")
            return &application;
    }
    return nullptr;
}

std::wstring IISSiteSearchStrategy::LongestVirtualDirectoryPath(const AppHostApplication& application,
                                                                const std::wstring& relative)
{
    std::wstring longest;
    bool found = false;
    for (const AppHostVirtualDirectory& directory : application.virtualDirectories) {
        if (directory.path.empty() || !PathBeginsWith(relative, directory.path))
            continue;
        if (!found || directory.path.size() > longest.size()) {
            longest = directory.path;
            found = true;
        }
    }
    return longest;
}

const AppHostVirtualDirectory* IISSiteSearchStrategy::FindVirtualDirectory(const AppHostApplication& application,
                                                                          const std::wstring& path)
{
    if (path.empty())
        return nullptr;
    for (const AppHostVirtualDirectory& directory : application.virtualDirectories) {
        if (directory.path == path)
            return &directory;
    }
    return nullptr;
}

}
