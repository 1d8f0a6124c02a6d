// The engine's single output channel: kind, text and flag byte. Platform-free.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

enum ReportKind : uint8_t {
  rkMessage = 0,     // flags: rfLog and/or rfStatus
  rkFile = 1,        // installed file
  rkRegistry = 2,    // registry value written
  rkCom = 3,         // COM server registered
  rkCommonFile = 4,  // shared file counted
  rkLink = 5,        // link path without ".lnk", "|", target
  rkGroup = 6,       // program group created
  rkDirectory = 7,   // folder for the clear-up
  rkErrorCopy = 8,   // error record items, already "section|key|value"
  rkErrorRegistry = 9,
  rkErrorCom = 10,
  rkErrorCommon = 11,
  rkProgress = 12,     // decimal number added to the progress position
  rkDotNet = 13,       // .NET assembly registered
  rkGlobalCache = 14,  // assembly placed in the global cache; ignored
  rkErrorDotNetReg = 15,
  rkErrorDotNetInst = 16,
  rkCreatedFolder = 17,  // folder the installation created
  rkCreatedKey = 18,     // key above the product's keys the installation created
};

enum ReportFlags : uint8_t {
  rfLog = 1,     // append the text to the run's log
  rfStatus = 2,  // show it as the window's status text
};

using ReportProc = std::function<void(uint8_t kind, const std::string& text, uint8_t flags)>;
