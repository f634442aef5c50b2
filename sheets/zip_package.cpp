#include "sheets/zip_package.h"

#include <zip.h>

#include "sheets/workbook.h"

namespace sheets {

struct ZipPackage::Impl {
    std::string bytes;
    zip_t* archive = nullptr;
    ~Impl()
    {
        if (archive)
            zip_discard(archive);
    }
};

ZipPackage::ZipPackage() : m_impl(std::make_unique<Impl>()) {}
ZipPackage::~ZipPackage() = default;

engine::Status ZipPackage::open(std::string bytes, const std::string& path)
{
    m_path = path;
    m_impl = std::make_unique<Impl>();
    m_impl->bytes = std::move(bytes);
    zip_error_t error;
    zip_error_init(&error);
    // The source reads the buffer in place; the buffer outlives the archive.
    zip_source_t* source = zip_source_buffer_create(m_impl->bytes.data(), m_impl->bytes.size(), 0, &error);
    if (!source) {
        zip_error_fini(&error);
        return damaged(path, "zip");
    }
    m_impl->archive = zip_open_from_source(source, ZIP_RDONLY, &error);
    if (!m_impl->archive) {
        zip_source_free(source);
        zip_error_fini(&error);
        return damaged(path, "zip");
    }
    zip_error_fini(&error);
    return {};
}

bool ZipPackage::has(std::string_view name) const
{
    return m_impl->archive && zip_name_locate(m_impl->archive, std::string(name).c_str(), 0) >= 0;
}

engine::Result<std::string> ZipPackage::read(std::string_view name, std::uint64_t limit) const
{
    const std::string part(name);
    if (!m_impl->archive)
        return damaged(m_path, part);
    const zip_int64_t index = zip_name_locate(m_impl->archive, part.c_str(), 0);
    if (index < 0)
        return damaged(m_path, part + ": missing");
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat_index(m_impl->archive, static_cast<zip_uint64_t>(index), 0, &st) != 0)
        return damaged(m_path, part);
    if ((st.valid & ZIP_STAT_SIZE) && st.size > limit)
        return tooLarge(m_path, part);
    zip_file_t* file = zip_fopen_index(m_impl->archive, static_cast<zip_uint64_t>(index), 0);
    if (!file)
        return damaged(m_path, part);
    // The stated size may lie: read in pieces and stop past the limit.
    std::string out;
    char buffer[65536];
    for (;;) {
        const zip_int64_t n = zip_fread(file, buffer, sizeof buffer);
        if (n < 0) {
            zip_fclose(file);
            return damaged(m_path, part);
        }
        if (n == 0)
            break;
        if (out.size() + static_cast<std::uint64_t>(n) > limit) {
            zip_fclose(file);
            return tooLarge(m_path, part);
        }
        out.append(buffer, static_cast<std::size_t>(n));
    }
    // zip_fclose reports a bad checksum of the whole entry.
    if (zip_fclose(file) != 0)
        return damaged(m_path, part);
    return out;
}

} // namespace sheets
