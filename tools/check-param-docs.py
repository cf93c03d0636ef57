#!/usr/bin/env python3
"""Fails when a documented public or protected function of the API reference leaves a named
parameter without its \\param. Reads the XML that Doxygen writes beside the HTML; Doxygen's own
WARN_NO_PARAMDOC also asks for every return value and misfires on member groups, hence this check.

Usage: check-param-docs.py XML_DIR
"""
import sys
import xml.etree.ElementTree as ET
from pathlib import Path


def text_of(element):
    return "".join(element.itertext()).strip() if element is not None else ""


def documented_names(member):
    """The names given a \\param anywhere in the member's description."""
    names = set()
    for item in member.iter("parameteritem"):
        for name in item.iter("parametername"):
            names.update(part.strip() for part in text_of(name).split(","))
    return names


def is_documented(member):
    return any(text_of(member.find(part)) for part in ("briefdescription", "detaileddescription"))


def is_checked(member):
    """Callable API: a documented public or protected function that was not deleted."""
    return (member.get("kind") == "function" and member.get("prot") in ("public", "protected")
            and "=delete" not in text_of(member.find("argsstring")).replace(" ", "")
            and is_documented(member))


def undocumented_parameters(member):
    named = [text_of(param.find("declname")) for param in member.findall("param")]
    documented = documented_names(member)
    return [name for name in named if name and name not in documented]


def qualified_name(member):
    return text_of(member.find("qualifiedname")) or text_of(member.find("name"))


def public_compounds(root):
    for compound in root.iter("compounddef"):
        if compound.get("prot", "public") == "public":
            yield compound


def findings(xml_dir):
    seen = set()
    for path in sorted(Path(xml_dir).glob("*.xml")):
        if path.name == "index.xml":
            continue
        for compound in public_compounds(ET.parse(path).getroot()):
            for member in compound.iter("memberdef"):
                if member.get("id") in seen or not is_checked(member):
                    continue
                seen.add(member.get("id"))
                missing = undocumented_parameters(member)
                if missing:
                    location = member.find("location")
                    yield (f"{location.get('file')}:{location.get('line')}: "
                           f"{qualified_name(member)}: no \\param for "
                           + ", ".join(missing))


def main(argv):
    if len(argv) != 2 or not Path(argv[1]).is_dir():
        print(__doc__.strip(), file=sys.stderr)
        return 2
    found = sorted(set(findings(argv[1])))
    for line in found:
        print(line)
    if found:
        print(f"{len(found)} documented functions leave a parameter undocumented", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
