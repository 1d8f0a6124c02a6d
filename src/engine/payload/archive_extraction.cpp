#include "engine/payload/archive_extraction.h"

#include "archive/zip_extractor.h"
#include "engine/install_object.h"
#include "engine/payload/payload_writer.h"
#include "engine/result_codes.h"
#include "sys/text.h"

namespace {

void LogExtractFailure(const TInstallObject& object, const std::string& detail) {
  object.Log("Fehler:  " + FormatText("Extrahieren fehlgeschlagen: [%s]", detail.c_str()));
}

// The extractor's progress and message events.
void OnExtractProgress(TInstallObject& object, int type, const std::string& fileName, int32_t fileSize) {
  switch (type) {
    case ptFileBegin: {
      ++object.Counters.FilesStarted;
      object.Counters.BytesStarted += fileSize;
      const std::string name = LowerAscii(fileName);
      object.TempFiles.push_back(name);
      object.Log(FormatText("Extrahiere: %s   Größe: %d Bytes", name.c_str(), fileSize));
      break;
    }
    case ptBatchEnd:
      object.Log(FormatText("Extrahiert: Datei(en) %d   Größe: %d Bytes", object.Counters.FilesStarted,
                            object.Counters.BytesStarted));
      object.Counters = ExtractionCounters();
      break;
    case ptFileCount:
      object.Counters.FileTotal = fileSize;
      break;
    case ptTotalBytes:
      object.Counters.ByteTotal = fileSize;
      object.Log(FormatText("Extrahiere: Datei(en) %d   Größe: %d Bytes", object.Counters.FileTotal,
                            object.Counters.ByteTotal));
      break;
    default:
      break;
  }
}

void OnExtractMessage(TInstallObject& object, const TZipExtractor& sender, int32_t errCode,
                      const std::string& message) {
  if (sender.LibraryErrorCode == 0) return;
  LogExtractFailure(object, message.empty() ? std::to_string(errCode) : message);
}

int ExtractArchive(TInstallObject& object, TZipExtractor& zip, const std::string& archive) {
  zip.SetZipFileName(archive);
  if (zip.LibraryErrorCode != 0) return rcOpenArchive;
  // A directory that could not be read is an archive that cannot be opened,
  // not an empty one.
  if (zip.DirectoryError != 0) {
    LogExtractFailure(object, zip.LastMessage);
    return rcOpenArchive;
  }
  if (zip.EntryCount() <= 0) return rcNoArchives;
  zip.Extract();
  if (zip.LibraryErrorCode != 0) return rcExtractArchive;
  // Without a library (or one that extracted less than the archive holds)
  // the components' files would be missing later.
  if (zip.ExtractedCount < zip.EntryCount()) {
    LogExtractFailure(object, zip.LastMessage);
    return rcExtractArchive;
  }
  return rcOk;
}

int ExtractEach(TInstallObject& object, const std::string& baseFolder, const std::vector<std::string>& archives) {
  TZipExtractor zip;
  zip.SetDLLDirectory(object.WorkDir);
  zip.Unattended = true;
  zip.FSpecArgs.push_back("*.*");
  zip.ExtrBaseDir = baseFolder;
  zip.ExtrOptions = ExtrDirNames | ExtrOverWrite;
  zip.OnProgress = [&object](TZipExtractor*, ProgressType type, const std::string& name, int32_t size) {
    OnExtractProgress(object, type, name, size);
  };
  zip.OnMessage = [&object](TZipExtractor* sender, int32_t code, const std::string& message) {
    OnExtractMessage(object, *sender, code, message);
  };
  zip.Verbose = false;
  int result = rcOk;
  for (size_t i = 0; i < archives.size() && result == rcOk; ++i) {
    object.Log(FormatText("Lese Quelldatei:    %s", archives[i].c_str()));
    try {
      result = ExtractArchive(object, zip, archives[i]);
    } catch (...) {
      result = rcExtractArchive;
    }
  }
  return result;
}

}  // namespace

int ExtractArchives(TInstallObject& object, const std::string& baseFolder, const std::vector<std::string>& archives) {
  try {
    return ExtractEach(object, baseFolder, archives);
  } catch (...) {
    return rcException;
  }
}
