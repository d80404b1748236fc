#include "zip_writer.h"

#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <fstream>
#include <random>

namespace tovo_pack {

namespace fs = std::filesystem;

namespace {

// Zip application note: signatures of the local header, the central directory header
// and the end of central directory record; "version needed" 2.0 for deflate and
// encryption.
constexpr std::uint32_t kLocalSignature = 0x04034B50;
constexpr std::uint32_t kCentralSignature = 0x02014B50;
constexpr std::uint32_t kEndSignature = 0x06054B50;
constexpr std::uint16_t kVersionNeeded = 20;
constexpr std::uint16_t kVersionMadeByUnix = (3 << 8) | 30;

struct Entry {
    std::string name;  // with "/" separators; folders end with "/"
    fs::path source;   // empty for folders
    std::uint16_t dosTime = 0, dosDate = 0;
    std::uint32_t unixMode = 0;
};

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(v & 0xFF);
    out.push_back((v >> 8) & 0xFF);
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

void DosTimeOf(const fs::path& path, std::uint16_t* time, std::uint16_t* date) {
    std::error_code ec;
    auto written = fs::last_write_time(path, ec);
    std::time_t t =
        ec ? std::time(nullptr)
           : std::chrono::system_clock::to_time_t(std::chrono::file_clock::to_sys(written));
    std::tm local{};
    localtime_r(&t, &local);
    if (local.tm_year < 80) {  // DOS times start in 1980
        local = std::tm{};
        local.tm_mday = 1;
        local.tm_year = 80;
    }
    *time = static_cast<std::uint16_t>(local.tm_hour << 11 | local.tm_min << 5 | local.tm_sec / 2);
    *date = static_cast<std::uint16_t>((local.tm_year - 80) << 9 | (local.tm_mon + 1) << 5 |
                                       local.tm_mday);
}

// The input as an absolute path without "." or ".." parts and without a trailing
// separator, so that "pictures/", "./pictures" and "." name a folder by its own name.
fs::path NamedPath(const fs::path& input) {
    std::error_code ec;
    fs::path path = fs::absolute(input, ec).lexically_normal();
    if (!path.has_filename()) path = path.parent_path();
    return path;
}

bool Collect(const fs::path& given, std::vector<Entry>* entries, std::string* error) {
    std::error_code ec;
    const fs::path input = NamedPath(given);
    if (input.filename().empty()) {
        *error = "cannot pack " + given.string() + ": it has no name to give the entries";
        return false;
    }
    const fs::path base = input.parent_path();
    auto add = [&](const fs::path& path, bool folder) {
        Entry e;
        // Named by the path as given, not by where links lead.
        e.name = path.lexically_relative(base).generic_string();
        if (folder)
            e.name += "/";
        else
            e.source = path;
        DosTimeOf(path, &e.dosTime, &e.dosDate);
        e.unixMode = static_cast<std::uint32_t>(fs::status(path, ec).permissions()) |
                     (folder ? 0040000u : 0100000u);
        entries->push_back(std::move(e));
    };
    if (fs::is_directory(input, ec)) {
        add(input, true);
        std::vector<fs::path> below;
        for (auto it = fs::recursive_directory_iterator(input, ec); !ec && it != fs::end(it);
             it.increment(ec)) {
            below.push_back(it->path());
        }
        std::sort(below.begin(), below.end());
        for (const fs::path& p : below) add(p, fs::is_directory(p, ec));
        return true;
    }
    if (fs::is_regular_file(input, ec)) {
        add(input, false);
        entries->back().name = input.filename().string();
        return true;
    }
    *error = "cannot read " + given.string();
    return false;
}

// True when name holds bytes above ASCII that form UTF-8; such names get general-purpose
// flag bit 11, which tells readers the name is UTF-8 and not code page 437.
bool IsUtf8BeyondAscii(const std::string& name) {
    bool beyond = false;
    for (std::size_t i = 0; i < name.size();) {
        const unsigned char c = static_cast<unsigned char>(name[i]);
        const std::size_t length = c < 0x80                ? 1
                                   : c >= 0xC2 && c < 0xE0 ? 2
                                   : c >= 0xE0 && c < 0xF0 ? 3
                                   : c >= 0xF0 && c < 0xF5 ? 4
                                                           : 0;
        if (length == 0 || i + length > name.size()) return false;
        for (std::size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(name[i + k]) & 0xC0) != 0x80) return false;
        }
        beyond = beyond || length > 1;
        i += length;
    }
    return beyond;
}

bool Deflate(const std::vector<std::uint8_t>& in, int level, std::vector<std::uint8_t>* out) {
    z_stream z{};
    if (deflateInit2(&z, level, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY) != Z_OK) return false;
    out->resize(deflateBound(&z, in.size()));
    z.next_in = const_cast<Bytef*>(in.data());
    z.avail_in = static_cast<uInt>(in.size());
    z.next_out = out->data();
    z.avail_out = static_cast<uInt>(out->size());
    const int rc = deflate(&z, Z_FINISH);
    out->resize(z.total_out);
    deflateEnd(&z);
    return rc == Z_STREAM_END;
}

// Traditional PKWARE encryption as the zip application note describes it.
class ZipCrypto {
  public:
    explicit ZipCrypto(const std::string& password) {
        for (unsigned char c : password) Update(c);
    }
    std::uint8_t Encrypt(std::uint8_t plain) {
        const std::uint32_t t = (key2_ | 2) & 0xFFFF;
        const std::uint8_t cipher = plain ^ static_cast<std::uint8_t>((t * (t ^ 1)) >> 8);
        Update(plain);
        return cipher;
    }

  private:
    static std::uint32_t Crc(std::uint32_t crc, std::uint8_t b) {
        return static_cast<std::uint32_t>(crc32(crc ^ 0xFFFFFFFF, &b, 1)) ^ 0xFFFFFFFF;
    }
    void Update(std::uint8_t c) {
        key0_ = Crc(key0_, c);
        key1_ = (key1_ + (key0_ & 0xFF)) * 134775813 + 1;
        key2_ = Crc(key2_, static_cast<std::uint8_t>(key1_ >> 24));
    }
    std::uint32_t key0_ = 0x12345678, key1_ = 0x23456789, key2_ = 0x34567890;
};

}  // namespace

bool ReadAll(const fs::path& path, std::vector<std::uint8_t>* data) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) return false;
    data->resize(static_cast<std::size_t>(in.tellg()));
    in.seekg(0);
    return static_cast<bool>(
        in.read(reinterpret_cast<char*>(data->data()), static_cast<std::streamsize>(data->size())));
}

bool BuildZip(const std::vector<fs::path>& inputs, const ZipOptions& options,
              std::vector<std::uint8_t>* zip, std::string* error) {
    std::vector<Entry> entries;
    for (const fs::path& input : inputs) {
        if (!Collect(input, &entries, error)) return false;
    }
    if (entries.size() > 0xFFFF) {
        *error = "too many entries for a zip archive without its 64-bit extension";
        return false;
    }
    std::vector<std::uint8_t> central;
    std::random_device random;
    for (const Entry& e : entries) {
        std::vector<std::uint8_t> data, packed;
        if (!e.source.empty() && !ReadAll(e.source, &data)) {
            *error = "cannot read " + e.source.string();
            return false;
        }
        const std::uint32_t crc =
            static_cast<std::uint32_t>(crc32(0, data.data(), static_cast<uInt>(data.size())));
        std::uint16_t method = 0;
        if (!options.store && !data.empty()) {
            if (!Deflate(data, options.level, &packed)) {
                *error = "cannot deflate " + e.source.string();
                return false;
            }
            method = 8;
        } else {
            packed = data;
        }
        std::uint16_t flags = IsUtf8BeyondAscii(e.name) ? 0x0800 : 0;
        const bool encrypt = !options.password.empty() && !e.source.empty();
        if (encrypt) {
            flags |= 1;
            ZipCrypto crypto(options.password);
            std::vector<std::uint8_t> sealed;
            for (int i = 0; i < 11; ++i) sealed.push_back(crypto.Encrypt(random() & 0xFF));
            sealed.push_back(crypto.Encrypt(crc >> 24));  // the password check byte
            for (std::uint8_t b : packed) sealed.push_back(crypto.Encrypt(b));
            packed.swap(sealed);
        }
        if (zip->size() + packed.size() + 1024 > 0xFFFFFFF0u) {
            *error = "archive larger than 4 GiB";
            return false;
        }
        const std::uint32_t offset = static_cast<std::uint32_t>(zip->size());
        auto header = [&](std::vector<std::uint8_t>& out, bool isCentral) {
            Put32(out, isCentral ? kCentralSignature : kLocalSignature);
            if (isCentral) Put16(out, kVersionMadeByUnix);
            Put16(out, kVersionNeeded);
            Put16(out, flags);
            Put16(out, method);
            Put16(out, e.dosTime);
            Put16(out, e.dosDate);
            Put32(out, crc);
            Put32(out, static_cast<std::uint32_t>(packed.size()));
            Put32(out, static_cast<std::uint32_t>(data.size()));
            Put16(out, static_cast<std::uint32_t>(e.name.size()));
            Put16(out, 0);  // extra field
            if (isCentral) {
                Put16(out, 0);  // comment
                Put16(out, 0);  // disk
                Put16(out, 0);  // internal attributes
                Put32(out, e.unixMode << 16);
                Put32(out, offset);
            }
            out.insert(out.end(), e.name.begin(), e.name.end());
        };
        header(*zip, false);
        zip->insert(zip->end(), packed.begin(), packed.end());
        header(central, true);
    }
    const std::uint32_t centralOffset = static_cast<std::uint32_t>(zip->size());
    zip->insert(zip->end(), central.begin(), central.end());
    Put32(*zip, kEndSignature);
    Put16(*zip, 0);
    Put16(*zip, 0);
    Put16(*zip, static_cast<std::uint32_t>(entries.size()));
    Put16(*zip, static_cast<std::uint32_t>(entries.size()));
    Put32(*zip, static_cast<std::uint32_t>(central.size()));
    Put32(*zip, centralOffset);
    Put16(*zip, 0);
    return true;
}

}  // namespace tovo_pack
