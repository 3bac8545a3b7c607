#pragma once
// Test doubles for the tree model: a tree control that records its items, a folder source over
// an in-memory folder map, and a strategy that answers from a fixed application-host site.
#include "SiteNodeType.h"
#include "SitePaths.h"
#include "SiteSearchStrategy.h"
#include "SiteTreeNode.h"

#include <map>
#include <string>
#include <vector>

namespace OrvanedockTest {

using namespace Orvane::Orvanedock;
using namespace Orvane::Util;

class FakeTree : public ITreeControl {
public:
    struct Entry {
        TreeItem parent;
        std::wstring text;
        int image;
        bool sorted;
        bool deleted;
    };
    std::vector<Entry> entries; // item n is entries[n - 1]

    TreeItem AddTreeItem(TreeItem parent, const wchar_t* text, int image, bool sorted) override
    {
        entries.push_back(Entry{parent, text, image, sorted, false});
        return reinterpret_cast<TreeItem>(entries.size());
    }
    bool RemoveTreeItem(TreeItem item) override
    {
        size_t index = reinterpret_cast<size_t>(item);
        if (index == 0 || index > entries.size() || entries[index - 1].deleted)
            return false;
        entries[index - 1].deleted = true;
        return true;
    }
    // Texts of the live children of parent, in insertion order.
    std::vector<std::wstring> ChildTexts(TreeItem parent) const
    {
        std::vector<std::wstring> texts;
        for (const Entry& e : entries)
            if (e.parent == parent && !e.deleted)
                texts.push_back(e.text);
        return texts;
    }
};

class FakeFolders : public IFolderSource {
public:
    std::map<std::wstring, std::vector<std::wstring>> folders;
    std::map<std::wstring, std::wstring> environment;
    std::wstring failAfterFirst; // a folder whose walk fails after its first entry
    std::vector<std::wstring> walked;

    bool ListFolders(const std::wstring& folder, std::vector<std::wstring>& names) override
    {
        walked.push_back(folder);
        auto found = folders.find(folder);
        if (found == folders.end())
            return false;
        if (folder == failAfterFirst) {
            names.assign(found->second.begin(), found->second.begin() + 1);
            return false;
        }
        names = found->second;
        return true;
    }
    std::wstring ExpandEnvironment(const std::wstring& text) override
    {
        std::wstring result = text;
        for (const auto& [name, value] : environment) {
            const std::wstring reference = L"%" + name + L"%";
            for (size_t at = result.find(reference); at != std::wstring::npos; at = result.find(reference))
                result.replace(at, reference.size(), value);
        }
        return result;
    }
};

// Answers every node below one site from a fixed description, as the application-host strategy
// does with what the store answered.
class SiteStrategy : public IISSiteSearchStrategy {
public:
    SiteStrategy(IFolderSource& folders, AppHostSite site) : IISSiteSearchStrategy(folders), site_(std::move(site))
    {
        available = true;
    }
    int FindSites(SiteTreeNode* node) override
    {
        if (!node)
            return 0;
        return node->AddChild(site_.name, SiteMetabasePath(std::to_wstring(site_.id)), L"", kNodeWebSite) ? 1 : 0;
    }
    int FindDirectories(SiteTreeNode*, const std::wstring*) override { return 0; }
    int FindVirtualDirectories(SiteTreeNode* node) override
    {
        if (!node || SiteIdFromMetaPath(node->Item().metabasePath) != site_.id)
            return 0;
        if (node->Item().nodeType == kNodeWebSite)
            return ListSiteChildren(*node, site_);
        auto rest = PathInSite(node->Item().metabasePath);
        return rest ? ListBelowSiteNode(*node, site_, *rest) : 0;
    }

private:
    AppHostSite site_;
};

}
