#include "design_model.h"

#include "paths.h"
#include "services.h"

DesignState design;

std::string DesignFolderPath() { return design.BaseDir + OwnPath("Designs\\") + Str(design.DesignFolder) + OwnPath("\\"); }

std::string SetupPathOf(const std::string& image) { return DesignFolderPath() + image + ".spset"; }

std::string PartSetupPath() { return SetupPathOf(design.PartImageName); }

std::string PrototypesPath() { return DesignFolderPath() + "Prototypes.pt"; }
