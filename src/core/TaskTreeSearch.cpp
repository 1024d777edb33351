// The model's search and the rows it offers the view after a filter.
#include "TaskTreeModel.h"

#include <cstring>
#include <string_view>

namespace {

// Finds the needle's first character through memchr on its first byte,
// which the C library scans many bytes at a time; a byte found at an odd
// offset is half of some other character and is passed over.
bool containsText(std::u16string_view text, std::u16string_view needle) {
    if (needle.empty())
        return true;
    if (needle.size() > text.size())
        return false;
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const unsigned char first = *reinterpret_cast<const unsigned char*>(needle.data());
    const size_t end = 2 * (text.size() - needle.size() + 1);
    size_t at = 0;
    while (at < end) {
        const void* found = std::memchr(bytes + at, first, end - at);
        if (!found)
            return false;
        const size_t offset = size_t(static_cast<const unsigned char*>(found) - bytes);
        if (offset % 2 == 0 &&
            std::memcmp(text.data() + offset / 2, needle.data(), 2 * needle.size()) == 0)
            return true;
        at = offset + 1;
    }
    return false;
}

} // namespace

void TaskTreeModel::matchSearch(const QString& text) {
    const bool narrower = m_hitTextValid && text.contains(m_hitText);
    const bool wider = m_hitTextValid && m_hitText.contains(text);
    const std::u16string_view needle(reinterpret_cast<const char16_t*>(text.utf16()),
                                     size_t(text.size()));
    const auto& nodes = flatNodes();
    const size_t count = nodes.size();
    for (size_t i = 0; i < count; ++i) {
        // The rows are scattered over the heap: ask for a row, and then its
        // text, while the ones before are searched.
        if (i + 8 < count)
            __builtin_prefetch(nodes[i + 8]);
        if (i + 4 < count)
            __builtin_prefetch(nodes[i + 4]->info.content.constData());
        TaskNode* n = nodes[i];
        if (n->m_hitRevision == n->m_revision && ((narrower && !n->m_hit) || (wider && n->m_hit)))
            continue;
        const QString& s = n->info.content;
        n->m_hit = containsText(
            std::u16string_view(reinterpret_cast<const char16_t*>(s.utf16()), size_t(s.size())),
            needle);
        n->m_hitRevision = n->m_revision;
    }
    m_hitText = text;
    m_hitTextValid = true;
}

const std::vector<TaskNode*>& TaskTreeModel::flatNodes() const {
    if (m_flatDirty) {
        m_flat.clear();
        m_flat.reserve(size_t(totalCount()));
        for (const auto& t : m_top) {
            m_flat.push_back(t.get());
            for (const auto& c : t->m_children)
                m_flat.push_back(c.get());
        }
        m_flatDirty = false;
    }
    return m_flat;
}

bool TaskTreeModel::refreshVisibility() {
    // Cheap test first; only a real change touches the view.
    bool changed = false;
    size_t k = 0;
    for (const auto& t : m_top) {
        if (t->m_hidden) {
            changed = changed || t->m_row >= 0;
            continue;
        }
        if (k >= m_visibleTop.size() || m_visibleTop[k] != t.get()) {
            changed = true;
            break;
        }
        ++k;
        size_t j = 0;
        for (const auto& c : t->m_children) {
            if (c->m_hidden)
                continue;
            if (j >= t->m_visible.size() || t->m_visible[j] != c.get()) {
                changed = true;
                break;
            }
            ++j;
        }
        if (changed || j != t->m_visible.size()) {
            changed = true;
            break;
        }
    }
    changed = changed || k != m_visibleTop.size();
    if (!changed)
        return false;
    m_shownAgain.clear();
    for (const auto& t : m_top)
        if (!t->m_hidden && t->m_row < 0)
            m_shownAgain.push_back(t.get());
    // A layout change, not a reset: the view keeps the expansion and the
    // selection of every row that stays.
    QModelIndexList before;
    std::vector<TaskNode*> nodes;
    beginLayoutChange(before, nodes);
    rebuildVisible();
    endLayoutChange(before, nodes);
    return true;
}
