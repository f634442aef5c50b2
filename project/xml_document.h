#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "engine/file_io.h"
#include "engine/msg.h"

namespace pugi {
struct xml_node_struct;
}

namespace project_io {

// A handle to one element of an XmlDocument. It does not own the element:
// it stays valid while the document that holds it is loaded and the element
// is not deleted. A default-constructed handle is invalid; every operation on
// an invalid handle does nothing and reads as empty.
class XmlNode {
public:
    XmlNode() = default;
    explicit XmlNode(pugi::xml_node_struct* node) : m_node(node) {}

    [[nodiscard]] bool valid() const { return m_node != nullptr; }
    [[nodiscard]] std::string tag() const;

    // First child element with `tag`; when there is none an empty one is
    // appended at the end of the children, so reading an absent element
    // gives an empty text.
    [[nodiscard]] XmlNode child(std::string_view tag) const;
    // First child element with `tag`, or an invalid handle (never creates).
    [[nodiscard]] XmlNode findChild(std::string_view tag) const;

    // Text of the element (its first text or CDATA child); empty when none.
    [[nodiscard]] std::string text() const;
    // True when the element has no text at all (a "null" value).
    [[nodiscard]] bool textIsNull() const;
    void setText(std::string_view text) const;

    // Attribute by name; absent reads as empty text.
    [[nodiscard]] std::string attribute(std::string_view name) const;
    [[nodiscard]] bool hasAttribute(std::string_view name) const;
    // Sets the attribute, creating it when absent.
    void setAttribute(std::string_view name, std::string_view value) const;

    // Lists of items: children with the item tag, counted among themselves
    // only (other children and comments do not shift the numbering).
    [[nodiscard]] int itemCount(std::string_view itemTag) const;
    // Item at a 0-based index, or an invalid handle beyond the items present.
    [[nodiscard]] XmlNode item(std::string_view itemTag, int index) const;
    // Appends a new empty item element at the end of the children.
    XmlNode appendItem(std::string_view itemTag) const;
    // Deletes the item at a 0-based index; false when there is none.
    bool removeItem(std::string_view itemTag, int index) const;
    // The next sibling element with the same tag as this one (walks a list in
    // order without counting from the start each time).
    [[nodiscard]] XmlNode nextItem() const;

    bool operator==(const XmlNode&) const = default;

private:
    pugi::xml_node_struct* m_node = nullptr;
};

// Why loading or saving an XML document failed.
enum class XmlError {
    None,
    CannotOpen,   // missing or unreadable file
    Malformed,    // not a well-formed XML document, or no root element
    CannotWrite,  // the file could not be written (folder, permissions, disk)
};

// An XML document read from a file and written back to it: the project
// document, the DXF settings file and the label definitions file. Loading
// keeps the declaration, comments and processing instructions, so whatever
// the program does not touch survives a save. Files are read as UTF-8 when
// they are valid UTF-8 (or UTF-16/32 with a byte order mark), else as
// Windows-1252 (see engine::detectTextEncoding: an encoding the declaration
// names is followed, and a UTF-8 file with a few bad bytes keeps its UTF-8
// with those bytes replaced); the document is always written as UTF-8.
// A document has exactly one root element. Nothing here throws.
class XmlDocument {
public:
    XmlDocument();
    ~XmlDocument();
    XmlDocument(XmlDocument&&) noexcept;
    XmlDocument& operator=(XmlDocument&&) noexcept;
    XmlDocument(const XmlDocument&) = delete;
    XmlDocument& operator=(const XmlDocument&) = delete;

    // Parses `fileName` (an ordinary file of at most `sizeLimit` bytes) and
    // remembers it as the document's file name. On failure the document is
    // empty (inactive) and problem() / errorDetail() say why.
    [[nodiscard]] XmlError load(const std::string& fileName, std::uint64_t sizeLimit = engine::FileLimit::kProject);
    // Parses text held in memory (no file name).
    [[nodiscard]] XmlError loadFromText(std::string_view text);

    [[nodiscard]] bool active() const;
    [[nodiscard]] const std::string& fileName() const { return m_fileName; }

    // The document element (the root), or an invalid handle when inactive.
    [[nodiscard]] XmlNode root() const;

    // The whole document as it would be saved.
    [[nodiscard]] std::string toText() const;
    // Writes the document to its own file name, or to `fileName`. The write
    // is atomic: a temporary file beside the target is renamed over it, so a
    // failed save leaves an existing file as it was.
    [[nodiscard]] XmlError save() const;
    [[nodiscard]] XmlError saveAs(const std::string& fileName) const;

    // Drops the tree.
    void close();

    // Why the last load or save failed: the file problem (FileMissing,
    // FileNotRegular, FileTooLarge, FileCannotRead, FileReadOnly, DiskFull,
    // ...) with the path; Ok after a parse error or success.
    [[nodiscard]] const engine::Status& problem() const { return m_problem; }
    // Where a parse failed: "line N", or "line N: second root element".
    [[nodiscard]] const std::string& errorDetail() const { return m_errorDetail; }
    // Bytes of the last loaded text that were no UTF-8 and were replaced.
    [[nodiscard]] std::size_t replacedBytes() const { return m_replaced; }

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
    std::string m_fileName;
    mutable engine::Status m_problem;
    std::string m_errorDetail;
    std::size_t m_replaced = 0;
};

} // namespace project_io
