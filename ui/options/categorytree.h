#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// The service's three-level category tree as the chooser reads it from xml/webAreas.xml.
// Categories are known by their titles alone; where a title occurs more than once, each lookup
// below says which of them counts.
class CategoryTree
{
public:
    struct Category
    {
        QString title;
        bool allowPost = false;
        std::vector<Category> children;
    };

    static constexpr int kLevels = 3;

    // Nothing when the file is missing, unreadable or not well-formed.
    static std::optional<CategoryTree> fromFile(const QString &path);

    const std::vector<Category> &firstLevel() const { return m_firstLevel; }

    // The titles to list after `title` was chosen at `level` - 1: level 0 gives the first-level
    // titles; level 1 the children of the last first-level category with that title; level 2 the
    // children of the last second-level category with that title anywhere in the tree. Nothing
    // when no category has the title, or for any other level.
    QStringList childTitles(const QString &title, int level) const;

    // Whether the first category with that title, searching all first-level categories, then all
    // second-level ones, then all third-level ones, allows sites to be filed under it.
    bool isPostAllowed(const QString &title) const;

private:
    // Every category of `level` (1 to 3), in the order the tree lists them.
    std::vector<const Category *> categoriesAt(int level) const;

    std::vector<Category> m_firstLevel;
};
