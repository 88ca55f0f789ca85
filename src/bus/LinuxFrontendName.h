// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <optional>
#include <string>

// The name a Linux DVB frontend gives in FE_GET_INFO. The node is opened
// O_RDONLY | O_NONBLOCK, as a monitor may: the kernel takes any number of
// such opens beside the application that tunes, and never hands them the
// frontend. nullopt with a short reason when the node cannot be opened or read.
std::optional<std::string> ReadLinuxFrontendName(const std::string& node, std::string& whyNot);
