#include "OvrelHub/resident/ResidentControlChoice.h"

#include "OvrelHub/resident/FallbackResidentControl.h"
#include "OvrelHub/resident/SystemdUserControl.h"
#include "Platform/system/SystemLog.h"

namespace ovrel::ResidentControlChoice {

std::unique_ptr<ResidentAgentControlling>
forThisDesktop(Workspace& workspace, std::function<void(const QString& label)> started) {
    auto systemd = std::make_unique<SystemdUserControl>();
    if (systemd->isUsable())
        return systemd;
    SystemLog::write(QStringLiteral(
        "Ovrel: không có trình quản lý systemd của người dùng cho thư mục cấu hình này — hub tự "
        "khởi động các module chạy nền và giữ chúng chạy trong lúc hub chạy"));
    FallbackResidentControl::Options options;
    options.workspace = &workspace;
    options.started = std::move(started);
    return std::make_unique<FallbackResidentControl>(std::move(options));
}

} // namespace ovrel::ResidentControlChoice
