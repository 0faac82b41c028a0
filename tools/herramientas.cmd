@echo off
rem Registra las dos herramientas de Quillmar (Turmidex, comprobacion de
rem directorios, y Palvexi, gestor de servicios) para que sus ordenes del
rem menu "Otros" se activen; con /u las elimina del registro.
setlocal
set ACCION=/RegServer
if /i "%~1"=="/u" set ACCION=/UnregServer
for %%H in (turmidex palvexi) do (
  start "" /wait "%~dp0%%H.exe" %ACCION%
  if errorlevel 1 (
    echo Error con %%H.exe %ACCION%
    exit /b 1
  )
)
echo Hecho: %ACCION%
