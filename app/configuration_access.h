// The configuration file as the commands use it: the file object, the
// fields no window owns, and the running state gathered into a record,
// applied from one, loaded and saved. The main window implements it.
#pragma once

#include <string>

namespace kvx {

struct TConfigSettings;
class tconfig;

class TConfigurationAccess {
 public:
  virtual tconfig& Configuration() = 0;
  // The configuration's fields no window of the program owns: the searches
  // read and keep their settings here (also the file names of the
  // observations and state vectors, the orbit options).
  virtual TConfigSettings& HeldConfiguration() = 0;
  // The running state as a configuration record's fields.
  virtual TConfigSettings GatherConfiguration() = 0;
  // Clamps the fields, then takes them over in their order, each through its
  // setter, and completes the period; the sheet keeps the table it holds.
  virtual void ApplyConfiguration(TConfigSettings settings) = 0;
  // tconfig.Load, then Apply; false when the file is missing or refused.
  virtual bool LoadConfiguration(const std::string& fileName) = 0;
  // Gather, then tconfig.Save.
  virtual bool SaveConfiguration(const std::string& fileName) = 0;

 protected:
  ~TConfigurationAccess() = default;
};

}  // namespace kvx
