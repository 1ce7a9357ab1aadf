#include "OvrelModuleKit/inbox/InboxCommand.h"

#include "OvrelModuleKit/json/JsonFieldReader.h"
#include "OvrelModuleKit/json/OrderedJsonWriter.h"

namespace ovrel {

QByteArray InboxCommand::encode() const {
    OrderedJsonWriter writer;
    writer.beginObject();
    writer.key(u"command").string(command);
    writer.key(u"at").number(at);
    if (argument)
        writer.key(u"argument").string(*argument);
    writer.endObject();
    return writer.bytes();
}

std::optional<InboxCommand> InboxCommand::decode(const QByteArray& bytes) {
    const std::optional<JsonValue> object = JsonFieldReader::parseObject(bytes);
    if (!object)
        return std::nullopt;
    const auto command = JsonFieldReader::string(*object, u"command");
    const auto at = JsonFieldReader::number(*object, u"at");
    const auto argument = JsonFieldReader::string(*object, u"argument");
    if (!command.isPresent() || !at.isPresent() || argument.isWrongType())
        return std::nullopt;
    return InboxCommand{command.value, at.value, argument.optional()};
}

} // namespace ovrel
