#include "picker_rules.h"

#include "rule_file_lines.h"

namespace PickerRules {

QString writtenImageSize(const QString& typed, const QString& boxSize) {
    bool isNumber = false;
    const int value = typed.toInt(&isNumber, 10);
    return isNumber && value >= 1 ? typed : boxSize;
}

int handedBackImageSize(const QString& typed, const QString& boxSize) {
    const int value = typed.toInt(nullptr, 10);
    return value != 0 ? value : boxSize.toInt(nullptr, 10);
}

QString imageLine(const QString& position, const QString& imageFile, const QString& typedWidth,
                  const QString& typedHeight) {
    const PositionFields fields = positionFields(position);
    return imageRuleLine(fields, imageFile, writtenImageSize(typedWidth, fields.width),
                         writtenImageSize(typedHeight, fields.height));
}

}  // namespace PickerRules
