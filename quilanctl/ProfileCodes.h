// The coded fields of the profile record by name: switch types, protocols and the AutoSPID
// location, as a person reads them in a profile file.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace quilanctl {

struct NamedCode {
    std::int32_t code;
    std::string_view name;
};

std::span<const NamedCode> SwitchTypes();
std::span<const NamedCode> Protocols();
std::span<const NamedCode> AutoSpidLocations();

std::optional<std::string_view> NameOf(std::span<const NamedCode> table, std::int32_t code);
std::optional<std::int32_t> CodeOf(std::span<const NamedCode> table, std::string_view name);

}  // namespace quilanctl
