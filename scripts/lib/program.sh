# The folder that the program runs from beside the host simulator, in run.sh and in the guest's
# demo: DEST gets MIRLKA_EXE, the manual, and hostsim.exe and demo.exe of the build tree TOOLS.
#   program_folder DEST MIRLKA_EXE TOOLS
program_docs=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../docs" && pwd)
program_folder() {
    mkdir -p "$1"
    cp "$2" "$program_docs/mirlka.html" "$3/hostsim.exe" "$3/demo.exe" "$1/"
}
