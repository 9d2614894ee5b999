#!/bin/sh
# Installs the Debian packages named in $DEPS that are missing. As root it
# runs apt-get; otherwise it prints the command to run and fails.
missing=""
for package in $DEPS; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null)
  case "$status" in
    *" installed") ;;
    *) missing="$missing $package" ;;
  esac
done
[ -z "$missing" ] && exit 0
if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages:$missing"
  echo "Install them with: sudo apt-get install -y$missing"
  exit 1
fi
echo "Installing:$missing"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq && apt-get install -y -qq$missing
