#include "OvrelHub/resident/ResidentErrorText.h"

#include "OvrelHub/resident/ResidentError.h"

#include <exception>

namespace ovrel::ResidentErrorText {

QString current() {
    try {
        throw;
    } catch (const ResidentError& error) {
        return error.description();
    } catch (const std::exception& error) {
        return QString::fromUtf8(error.what());
    } catch (...) {
        return QStringLiteral("lỗi không rõ");
    }
}

} // namespace ovrel::ResidentErrorText
