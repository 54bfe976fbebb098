#!/usr/bin/env bash
# Fails when the shared library exports a symbol that the public headers do not declare: anything in a
# detail or anonymous namespace, any standard-library instance, any other name the headers lack.
# Usage: scripts/check-exports.sh LIBRARY INCLUDE_DIR   (the installed libredivi.so and include folder)
set -euo pipefail

library=$1
# The headers' code without comments, so that a name in a comment declares nothing.
code=$(mktemp -d)
trap 'rm -rf "$code"' EXIT
for header in $(cd "$2" && find redivi -name '*.hpp'); do sed 's://.*$::' "$2/$header" >"$code/${header//\//_}"; done
mapfile -t headers < <(find "$code" -name '*.hpp' | sort)
[ "${#headers[@]}" -gt 0 ] || { echo "no public headers under $2/redivi" >&2; exit 1; }

# The headers that open namespace $1 ("redivi", "redivi::pdb", ...).
namespace_headers() { grep -lE "^namespace $1 \{" "${headers[@]}" || true; }

# The qualified name of a demangled symbol: no return type, template arguments, ABI tags or parameters.
qualified_name() {
  local name=$1 shorter
  name=${name#typeinfo name for }
  name=${name#typeinfo for }
  name=${name#vtable for }
  name=${name//\[abi:cxx11\]/}
  while shorter=$(sed 's/<[^<>]*>//g' <<<"$name") && [ "$shorter" != "$name" ]; do name=$shorter; done
  name=${name%%(*}
  echo "${name##* }"
}

# Why the symbol is not public, or nothing when the public headers declare it.
why_not_public() {
  local symbol=$1 kind=$2 name scope=() namespace files=() file part function
  case $symbol in
    *"(anonymous namespace)"*) echo "anonymous namespace"; return ;;
    *::detail::*) echo "detail namespace"; return ;;
  esac
  name=$(qualified_name "$symbol")
  case $name in
    std::* | __gnu_cxx::* | __cxxabiv1::*) echo "standard-library instance"; return ;;
  esac
  IFS=/ read -ra scope <<<"${name//::/\/}"
  function=${scope[-1]}
  unset 'scope[-1]'
  if [ "${#scope[@]}" -eq 0 ]; then
    # A C function: declared inside an extern "C" block.
    for file in "${headers[@]}"; do
      grep -q 'extern "C"' "$file" && grep -qE "\b$function\(" "$file" && return
    done
    echo "not declared by the public headers"
    return
  fi
  # The longest leading run of the scope that a header opens as a namespace; the rest are classes.
  namespace=""
  while [ "${#scope[@]}" -gt 0 ]; do
    mapfile -t files < <(namespace_headers "${namespace:+$namespace::}${scope[0]}")
    [ "${#files[@]}" -gt 0 ] || break
    namespace=${namespace:+$namespace::}${scope[0]}
    scope=("${scope[@]:1}")
  done
  mapfile -t files < <(namespace_headers "$namespace")
  if [ -z "$namespace" ] || [ "${#files[@]}" -eq 0 ]; then echo "outside the public namespaces"; return; fi
  for part in "${scope[@]}"; do
    grep -qE "^ *(struct|class) (REDIVI_EXPORT )?$part\b" "${files[@]}" ||
      { echo "no public class $part in namespace $namespace"; return; }
  done
  # Constructors and destructors of a public class are declared with it.
  [ "${#scope[@]}" -gt 0 ] && [ "${function#\~}" = "${scope[-1]}" ] && return
  case $kind in
    [TtWwi]) grep -qE "(^|[ *&])$function\(" "${files[@]}" && return ;;
    *) grep -qE "(struct|class|[ *&]) *(REDIVI_EXPORT )?$function\b" "${files[@]}" && return ;;
  esac
  echo "no declaration of $function in namespace $namespace"
}

count=0
failures=0
while read -r _ kind symbol; do
  count=$((count + 1))
  reason=$(why_not_public "$symbol" "$kind")
  if [ -n "$reason" ]; then
    echo "$(basename "$library") exports $symbol: $reason" >&2
    failures=$((failures + 1))
  fi
done < <(nm -D --defined-only -C "$library")

if [ "$count" -eq 0 ]; then echo "$(basename "$library") exports nothing" >&2; exit 1; fi
if [ "$failures" -gt 0 ]; then echo "$failures of $count exported symbols are not public" >&2; exit 1; fi
echo "$(basename "$library"): all $count exported symbols are declared by the public headers"
