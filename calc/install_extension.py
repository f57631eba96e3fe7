"""Installs or removes the extension in a LibreOffice user profile through the
office's extension manager (the route that works as root, where unopkg
refuses user installs).

  /usr/bin/python3 calc/install_extension.py install|uninstall PROFILE_DIR [OXT]

PROFILE_DIR is the directory given to -env:UserInstallation (for a user's
own office: $XDG_CONFIG_HOME/libreoffice/4). Exit 0 on success.
"""
import pathlib
import sys

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))
from office import Office  # noqa: E402


def main(argv):
    if len(argv) < 3 or argv[1] not in ("install", "uninstall") or (argv[1] == "install" and len(argv) < 4):
        print(__doc__.strip(), file=sys.stderr)
        return 2
    action, profile = argv[1], pathlib.Path(argv[2])
    profile.mkdir(parents=True, exist_ok=True)
    office = Office(profile=profile)
    office.start()
    try:
        if action == "install":
            office.remove_extension()  # a reinstall replaces the old version
            office.add_extension(argv[3])
        else:
            if not office.remove_extension():
                print("decimora: the Calc extension was not installed", file=sys.stderr)
    finally:
        office.stop()
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
