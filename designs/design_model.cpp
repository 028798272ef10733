#include "design_model.h"

#include "paths.h"
#include "services.h"

DesignState design;

std::string DesignsPath() { return design.BaseDir + OwnPath(std::string(kDesignsFolder) + "\\"); }

std::string DesignFolderPath(const std::string& name) { return DesignsPath() + name + OwnPath("\\"); }

std::string DesignFolderPath() { return DesignFolderPath(Str(design.DesignFolder)); }

std::string SetupPathOf(const std::string& image) { return DesignFolderPath() + image + kSetupExtension; }

std::string PartSetupPath() { return SetupPathOf(design.PartImageName); }

std::string PrototypesPath() { return DesignFolderPath() + kPrototypeFileName; }
