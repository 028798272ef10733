#include "design_model.h"

#include "services.h"

DesignState design;

std::string DesignFolderPath() { return design.BaseDir + "Designs\\" + Str(design.DesignFolder) + "\\"; }

std::string PartSetupPath() { return DesignFolderPath() + design.PartImageName + ".spset"; }

std::string PrototypesPath() { return DesignFolderPath() + "Prototypes.pt"; }
