#!/usr/bin/env python3
"""Validates a JSON file against a JSON Schema (draft 7) with python3-jsonschema.

usage: validate_json.py SCHEMA INSTANCE
"""
import json
import sys

import jsonschema


def main():
    schema_path, instance_path = sys.argv[1], sys.argv[2]
    with open(schema_path, encoding="utf-8") as f:
        schema = json.load(f)
    with open(instance_path, encoding="utf-8") as f:
        instance = json.load(f)
    jsonschema.Draft7Validator.check_schema(schema)
    errors = sorted(jsonschema.Draft7Validator(schema).iter_errors(instance), key=lambda e: list(e.path))
    for e in errors:
        print(f"{instance_path}: at /{'/'.join(str(p) for p in e.path)}: {e.message}", file=sys.stderr)
    if errors:
        sys.exit(1)
    print(f"{instance_path} follows {schema_path}")


if __name__ == "__main__":
    main()
