#include "design_model.h"

#include "paths.h"
#include "services.h"

DesignState design;

std::string DesignFolderPath() { return design.BaseDir + OwnPath("Designs\\") + Str(design.DesignFolder) + OwnPath("\\"); }

std::string PartSetupPath() { return DesignFolderPath() + design.PartImageName + ".spset"; }

std::string PrototypesPath() { return DesignFolderPath() + "Prototypes.pt"; }
