#include "entry_harness.h"

#include <sys/mman.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>
#include <thread>

#include "SFXgbls.h"
#include "SFXinflt.h"

namespace tovo_test {

namespace {

// The output goes into a packet socket, which keeps the boundaries of the writes; a
// thread drains it so that large outputs do not block the writer.
void CollectPieces(int fd, EntryRun* run) {
    std::vector<std::uint8_t> buffer(1 << 17);
    for (;;) {
        ssize_t n = ::recv(fd, buffer.data(), buffer.size(), 0);
        if (n <= 0) break;
        run->pieces.push_back(static_cast<std::uint32_t>(n));
        run->output.insert(run->output.end(), buffer.begin(), buffer.begin() + n);
    }
}

}  // namespace

EntryRun RunEntry(Method method, const std::vector<std::uint8_t>& data,
                  const EntryOptions& options) {
    int archive = ::memfd_create("entry", MFD_CLOEXEC);
    if (archive < 0) throw std::runtime_error("memfd_create failed");
    std::vector<std::uint8_t> file(data);
    file.insert(file.end(), options.trailing, 0xA5);
    if (!file.empty() && ::write(archive, file.data(), file.size()) != ssize_t(file.size()))
        throw std::runtime_error("write failed");
    ::lseek(archive, 0, SEEK_SET);

    int sockets[2];
    if (::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, sockets) != 0)
        throw std::runtime_error("socketpair failed");
    int bufferSize = 1 << 20;
    ::setsockopt(sockets[0], SOL_SOCKET, SO_SNDBUF, &bufferSize, sizeof bufferSize);

    EntryRun run;
    std::thread reader(CollectPieces, sockets[1], &run);
    ArchiveFile = archive;
    OutputFile = sockets[0];
    Remaining = options.remaining >= 0 ? options.remaining : static_cast<std::int32_t>(data.size());
    EntryEncrypted = options.encrypted;
    EntrySize = options.size;
    EntryCrc = 0xFFFFFFFF;
    if (method == Method::Deflated)
        InflateEntry();
    else
        CopyStoredEntry();
    run.crc = EntryCrc ^ 0xFFFFFFFF;
    run.tooLong = OutputTooLong;
    run.bytesRead = static_cast<std::uint32_t>(::lseek(archive, 0, SEEK_CUR));
    ::shutdown(sockets[0], SHUT_WR);
    reader.join();
    ::close(sockets[0]);
    ::close(sockets[1]);
    ::close(archive);
    ArchiveFile = OutputFile = os::kNoFile;
    EntryEncrypted = false;
    EntrySize = 0xFFFFFFFF;
    return run;
}

}  // namespace tovo_test
