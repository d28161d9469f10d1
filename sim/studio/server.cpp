#include "studio/server.h"

#include <httplib.h>

#include "studio/request_checks.h"
#include "studio_embedded.h"

using nlohmann::json;

namespace studio {

namespace {

void answer(httplib::Response& response, int status, const json& body)
{
    response.status = status;
    response.set_content(body.dump(), "application/json");
}

void refuse(httplib::Response& response, int status, const std::string& message)
{
    answer(response, status, {{"error", message}});
}

// The page's own files, with the session's token written into the page's links.
void servePage(httplib::Server& server, const std::string& token)
{
    for (const EmbeddedText& file : studioPage) {
        const std::string name(file.name);
        std::string text(file.text);
        const char* type = name.ends_with(".js") ? "text/javascript" : name.ends_with(".css") ? "text/css" : "text/html";
        if (name == "index.html") {
            for (size_t at = 0; (at = text.find("@TOKEN@", at)) != std::string::npos; at += token.size())
                text.replace(at, 7, token);
        }
        server.Get(name == "index.html" ? "/" : "/" + name, [text, type](const httplib::Request&, httplib::Response& response) {
            response.set_content(text, type);
        });
    }
}

// A JSON request's body, or an answer of 400 saying why it is none.
bool bodyOf(const httplib::Request& request, httplib::Response& response, json& body)
{
    body = json::parse(request.body, nullptr, false);
    if (body.is_discarded() || !body.is_object()) {
        refuse(response, 400, "the request's body is no JSON object");
        return false;
    }
    return true;
}

} // namespace

bool serve(Session& session, const std::string& token, uint16_t port, const std::function<void(uint16_t)>& ready,
           std::function<void()>& stop, std::string& error)
{
    httplib::Server server;
    server.set_payload_max_length(maxBodyBytes);
    uint16_t bound = port;
    server.set_pre_routing_handler([&](const httplib::Request& request, httplib::Response& response) {
        if (!hostIsOurs(request.get_header_value("Host"), bound)) {
            refuse(response, 403, "this server answers only to its own address, 127.0.0.1:" + std::to_string(bound));
            return httplib::Server::HandlerResponse::Handled;
        }
        if (!originIsOurs(request.get_header_value("Origin"), bound)) {
            refuse(response, 403, "requests from other pages are refused");
            return httplib::Server::HandlerResponse::Handled;
        }
        const std::string given = request.has_header("X-Kell-Token") ? request.get_header_value("X-Kell-Token")
                                                                     : request.get_param_value("token");
        if (!tokenMatches(given, token)) {
            refuse(response, 403, "wrong or missing token: open the address kellhud-studio printed");
            return httplib::Server::HandlerResponse::Handled;
        }
        response.set_header("Cache-Control", "no-store");
        response.set_header("X-Content-Type-Options", "nosniff");
        response.set_header("Content-Security-Policy",
                            "default-src 'self'; img-src 'self' data:; connect-src 'self'; frame-ancestors 'none'");
        return httplib::Server::HandlerResponse::Unhandled;
    });
    server.set_error_handler([](const httplib::Request&, httplib::Response& response) {
        if (response.body.empty())
            refuse(response, response.status, response.status == 413 ? "the request is too large" : "no such page");
    });
    server.set_exception_handler([](const httplib::Request&, httplib::Response& response, std::exception_ptr thrown) {
        std::string what = "unknown failure";
        try {
            std::rethrow_exception(thrown);
        } catch (const std::exception& e) {
            what = e.what();
        } catch (...) {
        }
        refuse(response, 500, "the studio failed: " + what);
    });

    servePage(server, token);
    server.Get("/api/state", [&](const httplib::Request& request, httplib::Response& response) {
        const int32_t style = styleNamed(request.has_param("style") ? request.get_param_value("style") : "base");
        if (style < 0)
            return refuse(response, 400, "unknown style (base, mora or sabel)");
        answer(response, 200, stateOf(session, style));
    });
    server.Post("/api/render", [&](const httplib::Request& request, httplib::Response& response) {
        json body;
        int status = 200;
        if (bodyOf(request, response, body)) {
            const json out = render(session, body, status);
            answer(response, status, out);
        }
    });
    server.Post("/api/save", [&](const httplib::Request& request, httplib::Response& response) {
        json body;
        int status = 200;
        if (bodyOf(request, response, body)) {
            const json out = save(session, body, status);
            answer(response, status, out);
        }
    });

    const int got = port == 0 ? server.bind_to_any_port("127.0.0.1") : (server.bind_to_port("127.0.0.1", port) ? port : -1);
    if (got <= 0) {
        error = "cannot listen on 127.0.0.1" + (port ? ":" + std::to_string(port) + " (is it in use?)" : std::string());
        return false;
    }
    bound = static_cast<uint16_t>(got);
    stop = [&server] { server.stop(); };
    ready(bound);
    return server.listen_after_bind();
}

} // namespace studio
