#include "ui/options/categorytree.h"

#include "core/xmldocument.h"

namespace {

// Reads the categories below `parent` down to the tree's last level. An element without a title
// cannot be listed, chosen or sent, so it is left out together with what lies below it.
std::vector<CategoryTree::Category> readCategories(const XmlElement &parent, int level)
{
    std::vector<CategoryTree::Category> categories;
    if (level > CategoryTree::kLevels)
        return categories;
    for (XmlElement element = parent.child(0); !element.isNull(); element = element.nextSibling()) {
        const QString title = element.attribute(QStringLiteral("Title")).value_or(QString());
        if (title.isEmpty())
            continue;
        categories.push_back({title,
                              element.attribute(QStringLiteral("AllowPost")) == QStringLiteral("1"),
                              readCategories(element, level + 1)});
    }
    return categories;
}

} // namespace

std::optional<CategoryTree> CategoryTree::fromFile(const QString &path)
{
    const std::optional<XmlDocument> document = XmlDocument::fromFile(path);
    if (!document)
        return std::nullopt;
    CategoryTree tree;
    tree.m_firstLevel = readCategories(document->root(), 1);
    return tree;
}

std::vector<const CategoryTree::Category *> CategoryTree::categoriesAt(int level) const
{
    std::vector<const Category *> found;
    if (level < 1 || level > kLevels)
        return found;
    for (const Category &category : m_firstLevel)
        found.push_back(&category);
    for (int depth = 1; depth < level; ++depth) {
        std::vector<const Category *> below;
        for (const Category *category : found)
            for (const Category &child : category->children)
                below.push_back(&child);
        found = std::move(below);
    }
    return found;
}

QStringList CategoryTree::childTitles(const QString &title, int level) const
{
    const std::vector<Category> *nodes = nullptr;
    if (level == 0) {
        nodes = &m_firstLevel;
    } else if (level == 1 || level == 2) {
        for (const Category *category : categoriesAt(level))
            if (category->title == title)
                nodes = &category->children;
    }
    QStringList titles;
    if (nodes)
        for (const Category &category : *nodes)
            titles << category.title;
    return titles;
}

bool CategoryTree::isPostAllowed(const QString &title) const
{
    for (int level = 1; level <= kLevels; ++level)
        for (const Category *category : categoriesAt(level))
            if (category->title == title)
                return category->allowPost;
    return false;
}
