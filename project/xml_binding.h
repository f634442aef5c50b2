#pragma once

#include <algorithm>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "project/xml_document.h"

namespace project_io {

// Building blocks of a typed view of an XML document: an element type is a
// class deriving from BoundElement whose members declare its children and
// attributes by tag and kind, e.g.
//
//     struct XmlSheet : BoundElement {
//         using BoundElement::BoundElement;
//         Text<"len"> len{node()};
//     };
//
// Each member is a light handle (one pointer) that reaches its child only
// when used, so an absent child is created on first access, as the document
// access promises, and a view costs nothing to make.
namespace binding {

// A tag name usable as a template argument.
template <std::size_t N>
struct Tag {
    char name[N]{};
    constexpr Tag(const char (&s)[N]) { std::copy_n(s, N, name); }
    [[nodiscard]] constexpr std::string_view view() const { return {name, N - 1}; }
};

// Text of a child element: get replaces an absent element by an empty one.
template <Tag T>
class Text {
public:
    explicit Text(XmlNode parent) : m_parent(parent) {}
    static constexpr std::string_view tag() { return T.view(); }
    [[nodiscard]] std::string get() const { return m_parent.child(tag()).text(); }
    void set(std::string_view value) const { m_parent.child(tag()).setText(value); }
    [[nodiscard]] XmlNode element() const { return m_parent.child(tag()); }

private:
    XmlNode m_parent;
};

// A child element read as a value: an empty element is a null value. The
// program always passes texts, and a null reads back as an empty text.
template <Tag T>
class Value : public Text<T> {
public:
    using Text<T>::Text;
    [[nodiscard]] bool isNull() const { return this->element().textIsNull(); }
};

// An attribute of the element itself; absent reads as an empty text.
template <Tag T>
class Attr {
public:
    explicit Attr(XmlNode owner) : m_owner(owner) {}
    static constexpr std::string_view name() { return T.view(); }
    [[nodiscard]] std::string get() const { return m_owner.attribute(name()); }
    [[nodiscard]] bool present() const { return m_owner.hasAttribute(name()); }
    void set(std::string_view value) const { m_owner.setAttribute(name(), value); }

private:
    XmlNode m_owner;
};

// A child element bound to its own class; created on first access.
// `node->member` reaches into it.
template <class Bound, Tag T>
class Node {
public:
    explicit Node(XmlNode parent) : m_parent(parent) {}
    [[nodiscard]] Bound get() const { return Bound(m_parent.child(T.view())); }

    struct Arrow {
        Bound bound;
        Bound* operator->() { return &bound; }
    };
    Arrow operator->() const { return Arrow{get()}; }

private:
    XmlNode m_parent;
};

} // namespace binding

// Base of every bound element class: the element it views.
class BoundElement {
public:
    explicit BoundElement(XmlNode node = {}) : m_node(node) {}
    [[nodiscard]] XmlNode node() const { return m_node; }
    [[nodiscard]] bool valid() const { return m_node.valid(); }

private:
    XmlNode m_node;
};

// A list element: a `count` attribute kept by the caller (never computed from
// the items) and items with one tag, numbered among themselves from 0.
template <class Item, binding::Tag ItemTag>
class BoundCollection : public BoundElement {
public:
    explicit BoundCollection(XmlNode node = {}) : BoundElement(node) {}

    binding::Attr<"count"> count{node()};

    static constexpr std::string_view itemTag() { return ItemTag.view(); }
    // Number of item elements present (whatever `count` says).
    [[nodiscard]] int size() const { return node().itemCount(itemTag()); }
    // Item i, or nothing beyond the items present.
    [[nodiscard]] std::optional<Item> item(int index) const
    {
        const XmlNode n = node().item(itemTag(), index);
        if (!n.valid())
            return std::nullopt;
        return Item(n);
    }
    // Appends a new item at the end and returns it.
    Item add() const { return Item(node().appendItem(itemTag())); }
    bool remove(int index) const { return node().removeItem(itemTag(), index); }

    // Walks the items in order without counting from the first one each time.
    class Cursor {
    public:
        explicit Cursor(XmlNode at) : m_at(at) {}
        [[nodiscard]] std::optional<Item> next()
        {
            if (!m_at.valid())
                return std::nullopt;
            Item current(m_at);
            m_at = m_at.nextItem();
            return current;
        }

    private:
        XmlNode m_at;
    };
    [[nodiscard]] Cursor items() const { return Cursor(node().findChild(itemTag())); }
};

} // namespace project_io
