#include "OvrelHub/resident/ResidentStatusText.h"

namespace ovrel::ResidentStatusText {

std::optional<QString> text(ModuleMode mode, bool residentEnabled, bool isRegistered,
                            const ResidentHealth& health, bool keptByHub) {
    if (mode != ModuleMode::resident)
        return std::nullopt;
    // Turned off while the agent is still loaded: unloading it failed and the
    // module goes on running, which "turned off" would hide.
    if (!residentEnabled && isRegistered)
        return QStringLiteral("Không tắt được chạy nền");
    if (!residentEnabled)
        return QStringLiteral("Đã tắt chạy nền");
    if (!isRegistered)
        return QStringLiteral("Không bật được chạy nền");
    if (health.isLooping())
        return QStringLiteral("Đang khởi động lại liên tục — có thể đang lỗi (%1 lần trong 5 phút)")
            .arg(*health.loopingStarts);
    if (keptByHub)
        return QStringLiteral("Đang chạy nền (do hub giữ chạy — không có systemd)");
    return QStringLiteral("Đang chạy nền");
}

} // namespace ovrel::ResidentStatusText
