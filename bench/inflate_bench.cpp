// Decoding speed of Tovo's decoder against zlib's inflate and libdeflate, and CRC-32
// speed against zlib's crc32.
//
// Tovo's decoder runs as in the stub: input read from a file in 32 KiB pieces, output
// written to /dev/null in 32 KiB pieces, CRC-32 of the output included. zlib and
// libdeflate decode from memory into one large buffer and compute no CRC. Figures are
// megabytes (10^6 bytes) of decoded output per second of this thread's processor time,
// the best of several runs.
//
// Usage: tovo_inflate_bench [file...]   (default inputs when none are given)
#include <fcntl.h>
#include <libdeflate.h>
#include <sys/mman.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

#include "SFXgbls.h"
#include "SFXinflt.h"
#include "SFXmisc.h"
#include "deflate_streams.h"

using tovo_test::Bytes;

namespace {

// Processor time of this thread, which other programs on a busy machine do not inflate.
double ThreadSeconds() {
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + t.tv_nsec * 1e-9;
}

// Runs fn in 9 rounds of at least 20 ms each; the best time per call.
double BestSeconds(const std::function<void()>& fn) {
    double best = 1e30;
    for (int round = 0; round < 9; ++round) {
        int calls = 0;
        const double start = ThreadSeconds();
        double elapsed;
        do {
            fn();
            ++calls;
            elapsed = ThreadSeconds() - start;
        } while (elapsed < 0.02);
        best = std::min(best, elapsed / calls);
    }
    return best;
}

Bytes ReadWholeFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

struct Input {
    std::string name;
    Bytes data;
};

std::vector<Input> DefaultInputs() {
    std::vector<Input> inputs;
    inputs.push_back({"text (generated)", tovo_test::TextLike(3 << 20, 1)});
    // Real text: C and C++ headers of the system, about 3 MB of them in name order.
    Bytes headers;
    for (const char* dir : {"/usr/include", "/usr/include/linux", "/usr/include/c++/12/bits"}) {
        std::error_code error;
        std::vector<std::filesystem::path> files;
        for (const auto& entry : std::filesystem::directory_iterator(dir, error))
            if (entry.is_regular_file()) files.push_back(entry.path());
        std::sort(files.begin(), files.end());
        for (const auto& file : files) {
            if (headers.size() >= (3u << 20)) break;
            Bytes b = ReadWholeFile(file);
            headers.insert(headers.end(), b.begin(), b.end());
        }
    }
    if (headers.size() > 100000) inputs.push_back({"text (system headers)", headers});
    Bytes binary = ReadWholeFile("/usr/bin/cmake");
    if (binary.size() > (3u << 20)) binary.resize(3u << 20);
    if (binary.size() > 100000) inputs.push_back({"binary (/usr/bin/cmake)", binary});
    // Already compressed: the generated text after zlib at level 9.
    inputs.push_back({"compressed (zlib -9 output)",
                      tovo_test::ZlibDeflate(inputs[0].data, 9, Z_DEFAULT_STRATEGY)});
    return inputs;
}

// Tovo: the stream in a memory file, the output to /dev/null.
struct TovoRunner {
    int archive = ::memfd_create("bench", MFD_CLOEXEC);
    int sink = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    std::int32_t size = 0;

    void Load(const Bytes& stream) {
        ::ftruncate(archive, 0);
        ::pwrite(archive, stream.data(), stream.size(), 0);
        size = static_cast<std::int32_t>(stream.size());
    }
    std::uint32_t Run() {
        ::lseek(archive, 0, SEEK_SET);
        ArchiveFile = archive;
        OutputFile = sink;
        Remaining = size;
        EntryEncrypted = false;
        EntryCrc = 0xFFFFFFFF;
        InflateEntry();
        return EntryCrc ^ 0xFFFFFFFF;
    }
};

void BenchDecoders(const std::vector<Input>& inputs) {
    TovoRunner tovo;
    z_stream z{};
    inflateInit2(&z, -15);
    libdeflate_decompressor* ld = libdeflate_alloc_decompressor();

    // "zlib+crc": inflate followed by crc32 over the output, as a zip extractor built on
    // zlib would do it; shown for reference.
    std::printf("%-28s %-14s %7s %9s %9s %11s %8s %8s %10s %9s\n", "input", "compressor", "ratio",
                "tovo MB/s", "zlib MB/s", "libdef MB/s", "t/zlib", "t/libdef", "zlib+crc",
                "t/z+crc");
    double worstZlib = 1e9, worstLibdeflate = 1e9;
    for (const Input& input : inputs) {
        struct Config {
            std::string name;
            Bytes stream;
        };
        std::vector<Config> configs;
        for (int level = 1; level <= 9; ++level)
            configs.push_back({"zlib -" + std::to_string(level),
                               tovo_test::ZlibDeflate(input.data, level, Z_DEFAULT_STRATEGY)});
        for (int level = 1; level <= 12; ++level)
            configs.push_back({"libdeflate -" + std::to_string(level),
                               tovo_test::LibdeflateDeflate(input.data, level)});
        Bytes out(input.data.size() + 64);
        const std::uint32_t crc = tovo_test::ZlibCrc(input.data);
        for (const Config& c : configs) {
            tovo.Load(c.stream);
            if (tovo.Run() != crc) std::printf("!! Tovo decoded %s wrongly\n", c.name.c_str());
            const double tTovo = BestSeconds([&] { tovo.Run(); });
            const double tZlib = BestSeconds([&] {
                inflateReset(&z);
                z.next_in = const_cast<Bytef*>(c.stream.data());
                z.avail_in = static_cast<uInt>(c.stream.size());
                z.next_out = out.data();
                z.avail_out = static_cast<uInt>(out.size());
                if (inflate(&z, Z_FINISH) != Z_STREAM_END) std::printf("!! zlib failed\n");
            });
            const double tLibdeflate = BestSeconds([&] {
                size_t n = 0;
                if (libdeflate_deflate_decompress(ld, c.stream.data(), c.stream.size(), out.data(),
                                                  out.size(), &n) != LIBDEFLATE_SUCCESS)
                    std::printf("!! libdeflate failed\n");
            });
            const double tZlibCrc =
                tZlib + BestSeconds([&] {
                    volatile uLong sum = crc32(0, out.data(), static_cast<uInt>(input.data.size()));
                    (void)sum;
                });
            const double mb = input.data.size() / 1e6;
            std::printf("%-28s %-14s %6.1f%% %9.0f %9.0f %11.0f %7.2fx %7.2fx %10.0f %8.2fx\n",
                        input.name.c_str(), c.name.c_str(),
                        100.0 * c.stream.size() / input.data.size(), mb / tTovo, mb / tZlib,
                        mb / tLibdeflate, tZlib / tTovo, tLibdeflate / tTovo, mb / tZlibCrc,
                        tZlibCrc / tTovo);
            worstZlib = std::min(worstZlib, tZlib / tTovo);
            worstLibdeflate = std::min(worstLibdeflate, tLibdeflate / tTovo);
        }
    }
    std::printf("lowest ratios: %.2fx zlib, %.2fx libdeflate\n\n", worstZlib, worstLibdeflate);
    inflateEnd(&z);
    libdeflate_free_decompressor(ld);
}

void BenchCrc() {
    const Bytes data = tovo_test::RandomBytes(1 << 20, 3);
    volatile std::uint32_t sink = 0;
    const double tTovo = BestSeconds([&] {
        sink = CrcUpdate(data.data(), static_cast<std::uint32_t>(data.size()), 0xFFFFFFFF);
    });
    const double tZlib = BestSeconds([&] {
        sink = static_cast<std::uint32_t>(crc32(0, data.data(), static_cast<uInt>(data.size())));
    });
    const double mb = data.size() / 1e6;
    std::printf("CRC-32 over 1 MiB: tovo %.0f MB/s, zlib %.0f MB/s, ratio %.2fx\n", mb / tTovo,
                mb / tZlib, tZlib / tTovo);
    (void)sink;
}

}  // namespace

int main(int argc, char** argv) {
    if (!BuildCrcTable()) return 1;
    std::vector<Input> inputs;
    for (int i = 1; i < argc; ++i) inputs.push_back({argv[i], ReadWholeFile(argv[i])});
    if (inputs.empty()) inputs = DefaultInputs();
    BenchCrc();
    BenchDecoders(inputs);
    BenchCrc();
    return 0;
}
