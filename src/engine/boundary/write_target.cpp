#include "engine/boundary/write_target.h"

#include "engine/boundary/deletion_boundary.h"
#include "engine/install_object.h"
#include "sys/text.h"
#include "sys/unfollowed_file.h"

bool WritableTarget(const TInstallObject& object, const DeletionBoundary& boundary, const std::string& path,
                    WriteKind kind) {
  if (!boundary.ThroughLink(path) && UnsharedForWriting(path, kind == WriteKind::New)) return true;
  object.Log(FormatText("Warnung: Datei %s liegt hinter einer Verknüpfung und wird nicht geschrieben.", path.c_str()));
  return false;
}
