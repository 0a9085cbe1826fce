#include "core/word_docx.h"

#include "core/compound_file.h"
#include "core/gbk_codec.h"
#include "core/word_doc.h"

#include <pugixml.hpp>
#include <zip.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <memory>
#include <vector>

namespace penvox::word {

namespace {

constexpr std::size_t kMaxRelationshipsBytes = 1u << 20;
// Nesting of tables, content controls and the like beyond any real document.
constexpr int kMaxDepth = 200;
constexpr std::string_view kDefaultPart = "word/document.xml";
constexpr std::string_view kWordNamespaces[] = {
    "http://schemas.openxmlformats.org/wordprocessingml/2006/main",
    "http://purl.oclc.org/ooxml/wordprocessingml/main",
};


// A size for a message: whole MiB (rounded up) from 1 MiB on, bytes below.
std::string sizeText(std::size_t bytes)
{
    if (bytes < (1u << 20))
        return std::to_string(bytes) + " bytes";
    return std::to_string((bytes >> 20) + ((bytes & ((1u << 20) - 1)) != 0)) + " MiB";
}

struct ArchiveCloser {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
using Archive = std::unique_ptr<zip_t, ArchiveCloser>;

struct EntryCloser {
    void operator()(zip_file_t* file) const { zip_fclose(file); }
};
using Entry = std::unique_ptr<zip_file_t, EntryCloser>;

bool startsLikeZip(std::string_view head) { return head.starts_with(std::string_view("PK\x03\x04", 4)); }

// `head`: the file's first bytes, to tell a cut-off archive from another file.
std::string openError(int code, std::string_view head)
{
    switch (code) {
    case ZIP_ER_NOZIP:
        if (startsLikeZip(head))
            return "the document is damaged (the zip archive is incomplete)";
        return "not a Word document (the file is not a zip archive)";
    case ZIP_ER_NOENT:
        return "the file does not exist";
    case ZIP_ER_MEMORY:
        return "not enough memory to open the document";
    default: {
        zip_error_t error;
        zip_error_init_with_code(&error, code);
        std::string message = "the document is damaged (";
        message.append(zip_error_strerror(&error));
        message.push_back(')');
        zip_error_fini(&error);
        return message;
    }
    }
}

enum class PartRead { Ok, Missing, Failed };

// Reads one member of the archive, never more than `maxBytes` of it: the size
// the archive states is checked first, and the read stops one byte past the
// limit whatever the archive stated, so a forged size cannot make it run on.
PartRead readPart(zip_t* archive, std::string_view name, std::size_t maxBytes, std::string& out,
                  std::string& error)
{
    out.clear();
    const zip_int64_t index = zip_name_locate(archive, std::string(name).c_str(), ZIP_FL_NOCASE);
    if (index < 0)
        return PartRead::Missing;
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(archive, static_cast<zip_uint64_t>(index), 0, &stat) != 0) {
        error = cat({"the document is damaged (", zip_strerror(archive), ")"});
        return PartRead::Failed;
    }
    if ((stat.valid & ZIP_STAT_ENCRYPTION_METHOD) && stat.encryption_method != ZIP_EM_NONE) {
        error = "the document is password-protected";
        return PartRead::Failed;
    }
    if ((stat.valid & ZIP_STAT_SIZE) && stat.size > maxBytes) {
        const auto stated = static_cast<std::size_t>(std::min<zip_uint64_t>(stat.size, SIZE_MAX));
        error = cat({"the document's text part is too large (", sizeText(stated), ", the limit is ",
                     sizeText(maxBytes), ")"});
        return PartRead::Failed;
    }
    Entry file(zip_fopen_index(archive, static_cast<zip_uint64_t>(index), 0));
    if (!file) {
        error = cat({"the document is damaged (", zip_strerror(archive), ")"});
        return PartRead::Failed;
    }
    if (stat.valid & ZIP_STAT_SIZE)
        out.reserve(static_cast<std::size_t>(stat.size));
    std::vector<char> buffer(65536);
    for (;;) {
        const std::size_t room = maxBytes + 1 - out.size();
        const zip_int64_t n = zip_fread(file.get(), buffer.data(), std::min(buffer.size(), room));
        if (n < 0) {
            error = cat({"the document is damaged (", zip_file_strerror(file.get()), ")"});
            out.clear();
            return PartRead::Failed;
        }
        if (n == 0)
            break;
        out.append(buffer.data(), static_cast<std::size_t>(n));
        if (out.size() > maxBytes) {
            error = cat({"the document's text part is larger than the limit of ", sizeText(maxBytes)});
            out.clear();
            return PartRead::Failed;
        }
    }
    return PartRead::Ok;
}

// The main document part named by the package relationships, or the usual
// name when they name none.
std::string mainPartName(zip_t* archive)
{
    std::string rels;
    std::string ignored;
    if (readPart(archive, "_rels/.rels", kMaxRelationshipsBytes, rels, ignored) != PartRead::Ok)
        return std::string(kDefaultPart);
    pugi::xml_document doc;
    if (!doc.load_buffer(rels.data(), rels.size()))
        return std::string(kDefaultPart);
    for (pugi::xml_node rel : doc.document_element().children()) {
        const std::string_view name = rel.name();
        if (name != "Relationship" && !name.ends_with(":Relationship"))
            continue;
        const std::string_view type = rel.attribute("Type").value();
        if (!type.ends_with("/officeDocument") || std::string_view(rel.attribute("TargetMode").value()) == "External")
            continue;
        std::string_view target = rel.attribute("Target").value();
        while (target.starts_with("/"))
            target.remove_prefix(1);
        if (target.starts_with("./"))
            target.remove_prefix(2);
        if (!target.empty())
            return std::string(target);
    }
    return std::string(kDefaultPart);
}

// Walks the document body in order, collecting its text as UTF-8.
class BodyWalker {
public:
    BodyWalker(std::string prefix, bool honourFields) : prefix_(std::move(prefix)), honourFields_(honourFields) {}

    void walk(pugi::xml_node body) { blocks(body, 0); }

    std::string text;
    bool tooDeep = false;
    bool unclosedField() const { return !fieldInResult_.empty(); }

private:
    // The element's name without the WordprocessingML prefix; empty for
    // elements of any other namespace.
    std::string_view local(pugi::xml_node node) const
    {
        std::string_view name = node.name();
        if (prefix_.empty())
            return name.find(':') == std::string_view::npos ? name : std::string_view();
        if (name.size() > prefix_.size() && name.starts_with(prefix_) && name[prefix_.size()] == ':')
            return name.substr(prefix_.size() + 1);
        return {};
    }

    pugi::xml_node child(pugi::xml_node node, std::string_view name) const
    {
        for (pugi::xml_node c : node.children())
            if (local(c) == name)
                return c;
        return {};
    }

    std::string_view attribute(pugi::xml_node node, std::string_view name) const
    {
        for (pugi::xml_attribute a : node.attributes()) {
            std::string_view n = a.name();
            if (const auto colon = n.find(':'); colon != std::string_view::npos)
                n.remove_prefix(colon + 1);
            if (n == name)
                return a.value();
        }
        return {};
    }

    bool visible() const { return !honourFields_ || fieldsInCode_ == 0; }
    void put(std::string_view s)
    {
        if (visible())
            text.append(s);
    }

    bool enter(int depth)
    {
        if (depth > kMaxDepth)
            tooDeep = true;
        return !tooDeep;
    }

    // A paragraph mark deleted in tracked changes joins the paragraph to the
    // next one; a paragraph before a table or at the end keeps its line end.
    bool joinsNext(pugi::xml_node p) const
    {
        const pugi::xml_node runProps = child(child(p, "pPr"), "rPr");
        if (!child(runProps, "del") && !child(runProps, "moveFrom"))
            return false;
        for (pugi::xml_node s = p.next_sibling(); s; s = s.next_sibling()) {
            const std::string_view name = local(s);
            if (name == "p")
                return true;
            if (name == "tbl" || name == "sdt" || name == "customXml" || name == "sectPr")
                return false;
        }
        return false;
    }

    void blocks(pugi::xml_node container, int depth)
    {
        if (!enter(depth))
            return;
        for (pugi::xml_node c : container.children()) {
            const std::string_view name = local(c);
            if (name == "p") {
                inlines(c, depth + 1);
                if (!joinsNext(c))
                    put("\r\n");
            } else if (name == "tbl") {
                rows(c, depth + 1);
            } else if (name == "sdt") {
                blocks(child(c, "sdtContent"), depth + 1);
            } else if (name == "customXml" || name == "ins" || name == "moveTo" || name == "smartTag") {
                blocks(c, depth + 1);
            }
        }
    }

    void rows(pugi::xml_node table, int depth)
    {
        if (!enter(depth))
            return;
        for (pugi::xml_node c : table.children()) {
            const std::string_view name = local(c);
            if (name == "tr") {
                // A row deleted in tracked changes goes with its cells.
                if (child(child(c, "trPr"), "del"))
                    continue;
                cells(c, depth + 1);
                put("\r\n");
            } else if (name == "sdt") {
                rows(child(c, "sdtContent"), depth + 1);
            } else if (name == "customXml") {
                rows(c, depth + 1);
            }
        }
    }

    void cells(pugi::xml_node row, int depth)
    {
        if (!enter(depth))
            return;
        for (pugi::xml_node c : row.children()) {
            const std::string_view name = local(c);
            if (name == "tc")
                blocks(c, depth + 1);
            else if (name == "sdt")
                cells(child(c, "sdtContent"), depth + 1);
            else if (name == "customXml")
                cells(c, depth + 1);
        }
    }

    void inlines(pugi::xml_node container, int depth)
    {
        if (!enter(depth))
            return;
        for (pugi::xml_node c : container.children()) {
            const std::string_view name = local(c);
            if (name == "r")
                run(c);
            else if (name == "sdt")
                inlines(child(c, "sdtContent"), depth + 1);
            else if (name == "hyperlink" || name == "ins" || name == "moveTo" || name == "smartTag" ||
                     name == "customXml" || name == "fldSimple" || name == "dir" || name == "bdo")
                inlines(c, depth + 1);
            // Deleted and moved-away text, properties, bookmarks, equations
            // and everything else hold no text of the body.
        }
    }

    void run(pugi::xml_node r)
    {
        for (pugi::xml_node c : r.children()) {
            const std::string_view name = local(c);
            if (name == "t") {
                if (!visible())
                    continue;
                for (pugi::xml_node part : c.children()) {
                    if (part.type() != pugi::node_pcdata && part.type() != pugi::node_cdata)
                        continue;
                    for (const char ch : std::string_view(part.value())) {
                        // Line ends inside a text element show as spaces;
                        // other control characters are not text.
                        if (ch == '\n' || ch == '\r')
                            text.push_back(' ');
                        else if (ch == '\t' || static_cast<unsigned char>(ch) >= 0x20)
                            text.push_back(ch);
                    }
                }
            } else if (name == "tab" || name == "ptab") {
                put("\t");
            } else if (name == "br" || name == "cr") {
                put("\r\n");
            } else if (name == "noBreakHyphen") {
                put("-");
            } else if (name == "fldChar") {
                const std::string_view type = attribute(c, "fldCharType");
                if (type == "begin") {
                    fieldInResult_.push_back(false);
                    ++fieldsInCode_;
                } else if (type == "separate") {
                    if (!fieldInResult_.empty() && !fieldInResult_.back()) {
                        fieldInResult_.back() = true;
                        --fieldsInCode_;
                    }
                } else if (type == "end") {
                    if (!fieldInResult_.empty()) {
                        if (!fieldInResult_.back())
                            --fieldsInCode_;
                        fieldInResult_.pop_back();
                    }
                }
            }
            // Field codes, deleted text, drawings, pictures, symbols and note
            // references are left out.
        }
    }

    std::string prefix_;
    bool honourFields_;
    std::vector<bool> fieldInResult_;  // one per open field: past its separator?
    std::size_t fieldsInCode_ = 0;
};

// The prefix the document element gives the WordprocessingML namespace
// ("w" in every writer seen, but any name is allowed; empty when it is the
// default namespace).
std::string wordPrefix(pugi::xml_node root)
{
    for (pugi::xml_attribute a : root.attributes()) {
        const std::string_view name = a.name();
        const std::string_view value = a.value();
        if (std::find(std::begin(kWordNamespaces), std::end(kWordNamespaces), value) == std::end(kWordNamespaces))
            continue;
        if (name == "xmlns")
            return {};
        if (name.starts_with("xmlns:"))
            return std::string(name.substr(6));
    }
    return "w";
}

ReadResult readArchive(zip_t* archive, std::size_t maxPartBytes)
{
    std::string xml;
    std::string error;
    std::string partName = mainPartName(archive);
    PartRead read = readPart(archive, partName, maxPartBytes, xml, error);
    if (read == PartRead::Missing && partName != kDefaultPart)
        read = readPart(archive, kDefaultPart, maxPartBytes, xml, error);
    if (read == PartRead::Missing)
        return failure("not a Word document (the archive holds no word/document.xml)");
    if (read == PartRead::Failed)
        return failure(error);

    pugi::xml_document doc;
    const pugi::xml_parse_result parsed =
        doc.load_buffer_inplace(xml.data(), xml.size(), pugi::parse_default | pugi::parse_ws_pcdata);
    if (!parsed)
        return failure(cat({"the document is damaged (its text part is not well-formed XML: ", parsed.description(),
                            " at byte ", std::to_string(parsed.offset), ")"}));
    const pugi::xml_node root = doc.document_element();
    const std::string prefix = wordPrefix(root);
    const std::string bodyName = prefix.empty() ? std::string("body") : prefix + ":body";
    const pugi::xml_node body = root.child(bodyName.c_str());
    if (!body)
        return failure("not a Word document (its main part has no document body)");

    BodyWalker walker(prefix, true);
    walker.walk(body);
    if (walker.unclosedField()) {
        walker = BodyWalker(prefix, false);
        walker.walk(body);
    }
    if (walker.tooDeep)
        return failure("the document is damaged (its content is nested too deeply)");
    ReadResult result;
    result.ok = true;
    if (walker.text != "\r\n")
        result.text = gbk::fromUtf8(walker.text);
    return result;
}

}  // namespace

ReadResult readDocxBytes(std::string_view bytes, std::size_t maxPartBytes)
{
    if (bytes.empty())
        return failure("the file is empty");
    // A password-protected .docx is a compound file holding the encrypted
    // package; a Word 97-2003 document may carry the newer name.
    if (cfb::hasSignature(bytes))
        return readDocBytes(bytes);
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
    if (source == nullptr) {
        const int code = zip_error_code_zip(&error);
        zip_error_fini(&error);
        return failure(openError(code, bytes.substr(0, 4)));
    }
    Archive archive(zip_open_from_source(source, ZIP_RDONLY, &error));
    if (!archive) {
        zip_source_free(source);
        const int code = zip_error_code_zip(&error);
        zip_error_fini(&error);
        return failure(openError(code, bytes.substr(0, 4)));
    }
    zip_error_fini(&error);
    return readArchive(archive.get(), maxPartBytes);
}

ReadResult readDocx(const std::string& path, std::size_t maxPartBytes)
{
    std::error_code code;
    const std::filesystem::file_status status = std::filesystem::status(path, code);
    if (status.type() == std::filesystem::file_type::not_found)
        return failure("the file does not exist");
    if (code)
        return failure(cat({"cannot open the file: ", code.message()}));
    if (status.type() != std::filesystem::file_type::regular)
        return failure("not a regular file");
    char head[8] = {};
    {
        std::ifstream in(path, std::ios::binary);
        if (!in)
            return failure("cannot open the file");
        in.read(head, sizeof head);
        if (in.gcount() == 0)
            return failure("the file is empty");
    }
    if (cfb::hasSignature(std::string_view(head, sizeof head)))
        return readDoc(path);
    int error = 0;
    Archive archive(zip_open(path.c_str(), ZIP_RDONLY, &error));
    if (!archive)
        return failure(openError(error, std::string_view(head, sizeof head)));
    return readArchive(archive.get(), maxPartBytes);
}

}  // namespace penvox::word
