@echo off
rem Tries the sensor without an SAP system, all in this folder: sapsim.exe serves the two
rem simulated SAP systems of sapsim.json on this computer's loopback address, sapprofile.exe
rem writes a profile for one of them into the folder "profiles" beside this file, and
rem sapsysinfo.exe checks that system and prints the document the monitor would read.
rem Nothing is read or written outside this folder: not the probe's custom-sensor folder,
rem and not C:\PRTG_Path.Txt. So the sensor runs in its Tendril form, which reads the profile
rem named on its command line and writes the same XML as the monitor's EXEXML form.
rem
rem   demo.cmd [SYSTEM]    PRD (the default) answers; QAS raises an exception
rem
rem sapsysinfo.exe loads librfc32.dll from this folder: the stand-in library, which speaks
rem only to sapsim.exe. Never copy it into the custom-sensor folder of a probe.
setlocal enableextensions
cd /d "%~dp0"
set system=%~1
if "%system%"=="" set system=PRD
set result=1

rem sapsim.exe serves for as long as the file sapsim.run exists.
echo sapsim.exe serves while this file exists> sapsim.run
start "sapsim" /b sapsim.exe sapsim.json --while-exists sapsim.run > sapsim.out 2>&1

rem It prints one line "NAME HOST:PORT" per system, then "ready".
set /a tries=0
:wait
set ready=
set port=
for /f "usebackq tokens=1,3 delims=: " %%a in ("sapsim.out") do (
  if "%%a"=="ready" set ready=yes
  if /i "%%a"=="%system%" set port=%%b
)
if defined ready goto ready
set /a tries+=1
if %tries% geq 60 (
  echo sapsim.exe did not get ready:
  type sapsim.out
  goto stop
)
rem A second: ping waits that long between its two echo requests.
ping -n 2 127.0.0.1 >nul
goto wait

:ready
if not defined port (
  echo sapsim.json has no system %system%
  goto stop
)
if not exist profiles mkdir profiles
rem The password comes from standard input, never from the command line.
echo secret| sapprofile.exe write profiles\%system%.P00 --force --company ACME --destination %system% --client 100 --user monitor --language E --mode R/3 --host 127.0.0.1 --sysnr 00 --gwhost 127.0.0.1 --gwservice %port% >nul
if errorlevel 1 goto stop

echo == sapsysinfo.exe /Flavour=Tendril profiles\%system%
sapsysinfo.exe /Flavour=Tendril profiles\%system%
set result=%errorlevel%
echo.
echo == exit code %result%

:stop
del sapsim.run
exit /b %result%
