#include "fuzz_entry.h"

#include <sys/mman.h>
#include <unistd.h>

#include "SFXgbls.h"
#include "SFXinflt.h"
#include "SFXmisc.h"

namespace tovo_fuzz {

namespace {

// Memory files live for the whole fuzzing run; each input rewrites them.
int archiveFile = -1;
int outputFile = -1;

void WriteAll(int fd, const std::uint8_t* data, std::size_t size) {
    ::ftruncate(fd, 0);
    ::lseek(fd, 0, SEEK_SET);
    while (size > 0) {
        ssize_t n = ::write(fd, data, size);
        if (n <= 0) __builtin_trap();
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    ::lseek(fd, 0, SEEK_SET);
}

}  // namespace

std::uint32_t RunEntry(const std::uint8_t* data, std::size_t size, const EntrySetup& setup,
                       std::vector<std::uint8_t>* output) {
    if (archiveFile < 0) {
        if (!BuildCrcTable()) __builtin_trap();
        archiveFile = ::memfd_create("archive", MFD_CLOEXEC);
        outputFile = ::memfd_create("output", MFD_CLOEXEC);
        if (archiveFile < 0 || outputFile < 0) __builtin_trap();
    }
    WriteAll(archiveFile, data, size);
    ::ftruncate(outputFile, 0);
    ::lseek(outputFile, 0, SEEK_SET);

    ArchiveFile = archiveFile;
    OutputFile = outputFile;
    Remaining = static_cast<std::int32_t>(setup.remaining);
    EntryEncrypted = setup.encrypted;
    if (setup.encrypted) InitKeys("fuzz");
    EntryCrc = 0xFFFFFFFF;
    if (setup.stored)
        CopyStoredEntry();
    else
        InflateEntry();
    if (::lseek(archiveFile, 0, SEEK_CUR) > static_cast<off_t>(setup.remaining)) __builtin_trap();

    if (output != nullptr) {
        const off_t length = ::lseek(outputFile, 0, SEEK_CUR);
        output->resize(static_cast<std::size_t>(length));
        if (length > 0 && ::pread(outputFile, output->data(), output->size(), 0) != length)
            __builtin_trap();
    }
    return EntryCrc ^ 0xFFFFFFFF;
}

}  // namespace tovo_fuzz
