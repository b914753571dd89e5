#pragma once

#include <QString>

#include <optional>

namespace Resources {

// Full path of a bundled tool ("sniffer", "creator"), or nothing when it is
// not among the application's resources.
std::optional<QString> pathForResource(const QString &name);

} // namespace Resources
