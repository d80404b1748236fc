// The first optical drive through the Linux CD-ROM ioctls: eject, and audio play
// of the disc's tracks by the drive itself.
#include <fcntl.h>
#include <linux/cdrom.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include <QFileInfo>

#include "system_devices.h"

namespace quom {

namespace {

// udev names the first optical drive /dev/cdrom; the drives themselves are
// /dev/sr0, /dev/sr1, ...
constexpr const char* kDrives[] = {"/dev/cdrom", "/dev/sr0", "/dev/sr1", "/dev/sr2", "/dev/sr3"};

// The last track's index in CDROMPLAYTRKIND: play to the end of that track.
constexpr unsigned char kLastIndex = 99;

QString SystemError(const char* what) {
    return QStringLiteral("%1: %2").arg(QString::fromLatin1(what),
                                        QString::fromLocal8Bit(std::strerror(errno)));
}

class LinuxCdDrive final : public CdDrive {
  public:
    ~LinuxCdDrive() override {
        if (fd_ >= 0) ::close(fd_);
    }

    DeviceResult Eject() override {
        if (!Open()) return NoDrive();
        // Some drives lock the tray while a disc plays.
        ::ioctl(fd_, CDROM_LOCKDOOR, 0);
        if (::ioctl(fd_, CDROMEJECT) != 0) return DeviceResult::Error(SystemError("eject"));
        return DeviceResult::Ok();
    }

    DeviceResult Play() override {
        if (!Open()) return NoDrive();
        cdrom_tochdr toc{};
        if (::ioctl(fd_, CDROMREADTOCHDR, &toc) != 0) {
            return DeviceResult::Error(SystemError("no audio disc"));
        }
        return PlayFrom(toc.cdth_trk0, toc);
    }

    DeviceResult Stop() override {
        if (!Open()) return NoDrive();
        if (::ioctl(fd_, CDROMSTOP) != 0) return DeviceResult::Error(SystemError("stop"));
        return DeviceResult::Ok();
    }

    DeviceResult Next() override { return Skip(+1); }
    DeviceResult Previous() override { return Skip(-1); }

  private:
    bool Open() {
        if (fd_ >= 0) return true;
        for (const char* drive : kDrives) {
            // Without O_NONBLOCK an empty or open tray fails the open itself.
            fd_ = ::open(drive, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
            if (fd_ >= 0) return true;
        }
        return false;
    }

    static DeviceResult NoDrive() { return DeviceResult::NotHere(QStringLiteral("no CD drive")); }

    DeviceResult PlayFrom(int track, const cdrom_tochdr& toc) {
        cdrom_ti ti{};
        ti.cdti_trk0 = static_cast<unsigned char>(track);
        ti.cdti_ind0 = 1;
        ti.cdti_trk1 = toc.cdth_trk1;
        ti.cdti_ind1 = kLastIndex;
        if (::ioctl(fd_, CDROMPLAYTRKIND, &ti) != 0) {
            return DeviceResult::Error(SystemError("play"));
        }
        return DeviceResult::Ok();
    }

    DeviceResult Skip(int step) {
        if (!Open()) return NoDrive();
        cdrom_tochdr toc{};
        if (::ioctl(fd_, CDROMREADTOCHDR, &toc) != 0) {
            return DeviceResult::Error(SystemError("no audio disc"));
        }
        cdrom_subchnl where{};
        where.cdsc_format = CDROM_MSF;
        int track = toc.cdth_trk0;
        if (::ioctl(fd_, CDROMSUBCHNL, &where) == 0 && where.cdsc_trk >= toc.cdth_trk0 &&
            where.cdsc_trk <= toc.cdth_trk1) {
            track = where.cdsc_trk + step;
        }
        if (track < toc.cdth_trk0) track = toc.cdth_trk0;
        if (track > toc.cdth_trk1) track = toc.cdth_trk1;
        return PlayFrom(track, toc);
    }

    int fd_ = -1;
};

}  // namespace

std::unique_ptr<CdDrive> MakeSystemCdDrive() {
    return std::make_unique<LinuxCdDrive>();
}

}  // namespace quom
