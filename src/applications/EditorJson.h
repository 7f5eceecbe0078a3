// The editor's fields as a JSON object, named as the window names them (numbers as their
// texts, lists by their texts, boxes as true/false, the date as dd.mm.yyyy), with the
// members and the gas and electricity contract data. The tool reads and prints this form,
// so that what `application show` prints can be given back to `application modify`.
#pragma once

#include "applications/EditorFields.h"

#include <QJsonObject>
#include <QStringList>

#include <vector>

namespace focaris {

class ApplicationEditor;

// The names of the editor's fields in the order of the window.
const QStringList &EditorFieldNames();

// The fields, members and supplements of an opened editor.
QJsonObject EditorToJson(const ApplicationEditor &editor);
QJsonObject FieldsToJson(const ApplicationFields &fields);
QJsonObject SupplementToJson(const SupplementData &data);
QJsonObject MemberToJson(const MemberFields &member);

// Reads the given keys of `object` into `fields` (keys not given keep their value) and
// lists the names it set in `given`. A value of the wrong kind, a text longer than its
// column or a list text the list does not hold is refused with the field's name.
EditorRefusal FieldsFromJson(const QJsonObject &object, ApplicationFields &fields, QStringList &given);
EditorRefusal SupplementFromJson(const QJsonObject &object, const QString &prefix, SupplementData &data,
                                 bool &singleSource);
EditorRefusal MemberFromJson(const QJsonObject &object, const QString &prefix, MemberFields &member);

} // namespace focaris
