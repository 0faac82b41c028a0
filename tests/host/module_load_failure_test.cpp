#include <gtest/gtest.h>

#include <string>

#include "headers/load_failure_message.h"
#include "headers/module_loader.h"
#include "platform/sim/sim_system.h"

namespace qm {
namespace {

TEST(ModuleLoadFailure, OnlyTheFirstInsertIsReplacedAndThePathIsNeverReadAsAFormat) {
  const std::string path = "C:\\tmp\\100%s %2 %1.dll";
  EXPECT_EQ(ReplaceFirstInsert("%1 no es válido; %2 y %10 quedan, 50%% %1!s!.", path),
            path + " no es válido; %2 y %10 quedan, 50%% " + path + ".");
  EXPECT_EQ(ReplaceFirstInsert("sin inserciones %", path), "sin inserciones %");
  EXPECT_EQ(ReplaceFirstInsert("%1!s", path), path + "!s");
}

TEST(ModuleLoadFailure, TheSystemTextWhenThereIsOneElseTheProgramsOwn) {
  SimSystem sim;
  sim.errors.messages[193] = "%1 no es una aplicación Win32 válida. %2\r\n";
  sim.errors.messages[31] = "";
  const std::string path = "C:\\a%d\\b.dll";
  EXPECT_EQ(ModuleLoadFailureMessage(sim.strings, sim.errors, 193, path),
            path + " no es una aplicación Win32 válida. %2");
  // No code (the file was read but is no module) and a code without text.
  EXPECT_EQ(ModuleLoadFailureMessage(sim.strings, sim.errors, 0, path), "No se puede cargar el módulo " + path);
  EXPECT_EQ(ModuleLoadFailureMessage(sim.strings, sim.errors, 31, path), "No se puede cargar el módulo " + path);
}

TEST(ModuleLoadFailure, WhatTheLoaderReportsForAMissingFileTextAndBrokenHeaders) {
  SimSystem sim;
  sim.errors.messages[2] = "No se encuentra el archivo.\r\n";
  sim.errors.messages[193] = "%1 no es una aplicación Win32 válida.\r\n";
  sim.files.files["C:\\notas.txt"] = std::vector<uint8_t>(300, 'a');
  // "MZ", e_lfanew at 0x40 and a PE signature with no headers behind it.
  std::vector<uint8_t> broken(0x44, 0);
  broken[0] = 'M';
  broken[1] = 'Z';
  broken[0x3C] = 0x40;
  broken[0x40] = 'P';
  broken[0x41] = 'E';
  sim.files.files["C:\\roto.dll"] = broken;

  CModuleLoader loader(sim.files);
  const auto message = [&] {
    return ModuleLoadFailureMessage(sim.strings, sim.errors, loader.GetLoadError(), loader.GetFileName());
  };
  ASSERT_FALSE(loader.Load("C:\\falta.dll"));
  EXPECT_EQ(message(), "No se encuentra el archivo.");
  ASSERT_FALSE(loader.Load("C:\\notas.txt"));
  EXPECT_EQ(message(), "C:\\notas.txt no es una aplicación Win32 válida.");
  ASSERT_FALSE(loader.Load("C:\\roto.dll"));
  EXPECT_EQ(message(), "No se puede cargar el módulo C:\\roto.dll");
}

}  // namespace
}  // namespace qm
