// Systems without a CD back end here: every CD statement is skipped.
#include "system_devices.h"

namespace quom {

namespace {

class NoCdDrive final : public CdDrive {
  public:
    DeviceResult Eject() override { return Missing(); }
    DeviceResult Play() override { return Missing(); }
    DeviceResult Stop() override { return Missing(); }
    DeviceResult Next() override { return Missing(); }
    DeviceResult Previous() override { return Missing(); }

  private:
    static DeviceResult Missing() {
        return DeviceResult::NotHere(QStringLiteral("no CD support on this system"));
    }
};

}  // namespace

std::unique_ptr<CdDrive> MakeSystemCdDrive() {
    return std::make_unique<NoCdDrive>();
}

}  // namespace quom
