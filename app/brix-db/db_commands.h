#pragma once
// The administrator's commands on a data root; each returns the process exit code.
#include <QStringList>
#include <QTextStream>

namespace brix::admin {

int run(const QStringList& args, QTextStream& out, QTextStream& err);

} // namespace brix::admin
