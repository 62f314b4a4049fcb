# A real SFTP server for the upload test and benchmark (sourced, not run): Debian's
# sshd on 127.0.0.1 with a configuration, host keys and a user key of its own under
# the folder $work, for the user running it. The caller sets HOME to a folder of its
# own first, so the user key and known_hosts stay out of the real home.
#   sshd_setup; sshd_start host_key|other_host_key; ...; sshd_stop
# or, for a test: sshd_open (all of it, in $work with HOME and the folders site,
# pictures and server, stopped on exit).
sshd=/usr/sbin/sshd

sshd_open() {
  cd "$work" || exit 1
  export HOME="$work/home"
  mkdir -p site pictures server
  sshd_setup
  trap 'sshd_stop; rm -rf "$work"' EXIT
  sshd_start host_key
}

sshd_setup() {
  [ -x "$sshd" ] || { echo "FAIL: $sshd missing (the openssh-server package)"; exit 1; }
  mkdir -p "$HOME/.ssh"
  chmod 700 "$HOME/.ssh"
  ssh-keygen -q -t ed25519 -N '' -f "$HOME/.ssh/id_ed25519"
  ssh-keygen -q -t ed25519 -N '' -f "$work/host_key"
  ssh-keygen -q -t ed25519 -N '' -f "$work/other_host_key"
  cp "$HOME/.ssh/id_ed25519.pub" "$work/authorized_keys"
  sshd_port=$((20000 + RANDOM % 20000))
  cat > "$work/sshd_config" <<CONFIG
Port $sshd_port
ListenAddress 127.0.0.1
PidFile $work/sshd.pid
AuthorizedKeysFile $work/authorized_keys
StrictModes no
UsePAM no
PasswordAuthentication no
KbdInteractiveAuthentication no
PermitRootLogin prohibit-password
Subsystem sftp internal-sftp
CONFIG
}

# sshd_start HOST_KEY: starts the server with that host key and waits until it listens.
sshd_start() {
  mkdir -p /run/sshd 2>/dev/null
  "$sshd" -f "$work/sshd_config" -h "$work/$1" -E "$work/sshd.log" || { echo "FAIL: sshd did not start"; cat "$work/sshd.log"; exit 1; }
  for _ in $(seq 50); do (exec 3<>"/dev/tcp/127.0.0.1/$sshd_port") 2>/dev/null && return; sleep 0.1; done
  echo "FAIL: sshd does not listen"; cat "$work/sshd.log"; exit 1
}

sshd_stop() {
  [ -f "$work/sshd.pid" ] && kill "$(cat "$work/sshd.pid")" 2>/dev/null
  rm -f "$work/sshd.pid"
  sleep 0.2
}
