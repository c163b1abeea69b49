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
rem README.txt tells how to run sapsim.exe on its own and try a profile of your own.
setlocal enableextensions
cd /d "%~dp0"
set system=%~1
if "%system%"=="" set system=PRD
set result=1

rem sapsim.exe serves for as long as the file sapsim.run exists, each system on the port
rem sapsim.json gives it, the same at every start.
echo sapsim.exe serves while this file exists> sapsim.run
start "sapsim" /b sapsim.exe sapsim.json --while-exists sapsim.run > sapsim.out 2>&1

rem It prints one line "NAME HOST:PORT" per system, then "ready"; or a line "sapsim: ..." saying
rem why it cannot serve, and ends.
set /a tries=0
:wait
set ready=
set failed=
set port=
for /f "usebackq tokens=1,3 delims=: " %%a in ("sapsim.out") do (
  if "%%a"=="ready" set ready=yes
  if "%%a"=="sapsim" set failed=yes
  if /i "%%a"=="%system%" set port=%%b
)
if defined ready goto ready
if defined failed goto notready
set /a tries+=1
if %tries% geq 60 goto notready
rem A second: ping waits that long between its two echo requests.
ping -n 2 127.0.0.1 >nul
goto wait

:notready
echo sapsim.exe did not get ready:
type sapsim.out
echo A port that sapsim.json names may be taken: by a sapsim.exe that still runs (close its
echo window first), or by another program. Then give the system another "port" in
echo sapsim.json (README.txt says more).
goto stop

:ready
echo == sapsim.exe serves
for /f "usebackq tokens=1,2" %%a in ("sapsim.out") do if not "%%a"=="ready" echo %%a on %%b
if not defined port (
  echo sapsim.json has no system %system%
  goto stop
)
if not exist profiles mkdir profiles
rem The password comes from standard input, never from the command line. sapprofile.exe warns
rem that the sensor's EXEXML form reads no profile from "profiles"; the Tendril form does, so
rem what it says is shown only when it fails.
echo secret| sapprofile.exe write profiles\%system%.P00 --force --company ACME --destination %system% --client 100 --user monitor --language E --mode R/3 --host 127.0.0.1 --sysnr 00 --gwhost 127.0.0.1 --gwservice %port% >nul 2>sapprofile.err
if errorlevel 1 (
  type sapprofile.err
  goto stop
)

echo.
echo == sapsysinfo.exe /Flavour=Tendril profiles\%system%
sapsysinfo.exe /Flavour=Tendril profiles\%system%
set result=%errorlevel%
echo.
echo == exit code %result%

:stop
del sapsim.run
if exist sapprofile.err del sapprofile.err
exit /b %result%
