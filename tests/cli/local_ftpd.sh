# A real FTP server for the FTPS and FTP upload tests (sourced, not run): Debian's
# pure-ftpd on 127.0.0.1, TLS offered (AUTH TLS) with a certificate made here by a test
# certificate authority of its own, and one virtual user whose files belong to nobody,
# all under the folder $work. Run as root, as the tests run in CI.
#   ftpd_setup USER PASSWORD SERVER_FOLDER; ftpd_start; ...; ftpd_stop
# ftpd_setup sets $ftpd_port and writes the authority's certificate to $work/ca.pem.
ftpd=/usr/sbin/pure-ftpd

# Exits with ctest's skip code when the package is missing.
ftpd_require() {
  if [ ! -x "$ftpd" ] || ! command -v pure-pw > /dev/null || ! command -v openssl > /dev/null; then
    echo "SKIP: pure-ftpd (the pure-ftpd package) or openssl is not installed"
    exit 77
  fi
}

ftpd_setup() {
  local user="$1" password="$2" folder="$3"
  # The authority, and the server's certificate for 127.0.0.1 signed by it.
  openssl req -x509 -newkey rsa:2048 -nodes -keyout "$work/ca.key" -out "$work/ca.pem" -days 1 \
    -subj "/CN=Quorvale test authority" 2> /dev/null
  openssl req -newkey rsa:2048 -nodes -keyout "$work/server.key" -out "$work/server.csr" \
    -subj "/CN=127.0.0.1" 2> /dev/null
  printf 'subjectAltName=IP:127.0.0.1\n' > "$work/server.ext"
  openssl x509 -req -in "$work/server.csr" -CA "$work/ca.pem" -CAkey "$work/ca.key" -CAcreateserial \
    -out "$work/server.pem" -days 1 -extfile "$work/server.ext" 2> /dev/null
  cat "$work/server.pem" "$work/server.key" > "$work/server_with_key.pem"
  mkdir -p "$folder"
  chown nobody:nogroup "$folder"
  printf '%s\n%s\n' "$password" "$password" |
    pure-pw useradd "$user" -u nobody -g nogroup -d "$folder" -f "$work/ftpd.passwd" > /dev/null
  # pure-pw hashes with argon2id at a cost of seconds per sign-in; a SHA-512 crypt hash
  # of the same password signs in at once, which keeps the tests' many sign-ins fast.
  local hash
  hash=$(openssl passwd -6 "$password")
  awk -F: -v OFS=: -v hash="$hash" '{ $2 = hash; print }' "$work/ftpd.passwd" > "$work/ftpd.passwd.new" &&
    mv "$work/ftpd.passwd.new" "$work/ftpd.passwd"
  pure-pw mkdb "$work/ftpd.pdb" -f "$work/ftpd.passwd"
  ftpd_port=$((20000 + RANDOM % 20000))
}

ftpd_start() {
  # -E: no anonymous users; -H: no name lookups; -Y 1: TLS offered, plain FTP allowed.
  "$ftpd" -S "127.0.0.1,$ftpd_port" -l "puredb:$work/ftpd.pdb" -E -H -Y 1 -2 "$work/server_with_key.pem" \
    -g "$work/ftpd.pid" -B || { echo "FAIL: pure-ftpd did not start"; exit 1; }
  for _ in $(seq 50); do (exec 3<>"/dev/tcp/127.0.0.1/$ftpd_port") 2>/dev/null && return; sleep 0.1; done
  echo "FAIL: pure-ftpd does not listen"; exit 1
}

ftpd_stop() {
  [ -f "$work/ftpd.pid" ] && kill "$(cat "$work/ftpd.pid")" 2>/dev/null
  rm -f "$work/ftpd.pid"
}
